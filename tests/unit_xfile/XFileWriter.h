// Writes .x files for the tests in every form the reader takes: text,
// binary with 32- or 64-bit floats, and MSZIP-compressed text or binary.
#ifndef ZV_TESTS_XFILEWRITER_H
#define ZV_TESTS_XFILEWRITER_H

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace xtest {

// A data object: its members in order, flattened as the file stores them.
struct XNode {
    struct Item {
        enum Kind { Int, Float, String, Child, Ref } kind = Int;
        uint32_t i = 0;
        double f = 0;
        std::string s;
        std::shared_ptr<XNode> child;
    };
    std::string type, name;
    std::vector<Item> items;

    XNode(std::string t, std::string n = std::string()) : type(std::move(t)), name(std::move(n)) {}
    XNode& ints(std::initializer_list<uint32_t> v);
    XNode& ints(const std::vector<uint32_t>& v);
    XNode& floats(std::initializer_list<double> v);
    XNode& floats(const std::vector<double>& v);
    XNode& str(const std::string& s);
    XNode& child(const XNode& node);
    XNode& ref(const std::string& name);
};

enum class Form { Text, Binary32, Binary64, TextZip, BinaryZip32, BinaryZip64 };
const char* formName(Form f);

// The whole file, header included. Each form starts with a few template
// declarations, which the reader must skip.
std::string writeFile(const std::vector<XNode>& objects, Form form);
std::string writeText(const std::vector<XNode>& objects);    // body only
std::string writeBinary(const std::vector<XNode>& objects, int floatBits);  // body only

// MSZIP: the DWORD total size (body + 16) and chunks of at most `chunk`
// bytes, each deflated with the previous 32 KiB as dictionary.
std::string compressMszip(const std::string& body, size_t chunk = 32768);

// Writes bytes to a fresh file under the test temp directory; returns its path.
std::string saveTemp(const std::string& name, const std::string& bytes);

}  // namespace xtest

#endif
