// Writes .x files for the tests in every form the reader takes: text,
// binary with 32- or 64-bit floats, and MSZIP-compressed text or binary.
#ifndef ZV_TESTS_XFILEWRITER_H
#define ZV_TESTS_XFILEWRITER_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace xtest {

// A data object: its members in order, flattened as the file stores them.
struct XNode {
    struct Item {
        enum Kind { Int, Float, String, Child, Ref } kind;
        double number;
        std::string text;  // string, or the name referred to
        std::shared_ptr<XNode> child;
    };
    std::string type, name;
    std::vector<Item> items;

    explicit XNode(std::string t, std::string n = std::string()) : type(std::move(t)), name(std::move(n)) {}
    XNode& ints(const std::vector<uint32_t>& v) {
        for (uint32_t x : v) add({Item::Int, double(x), {}, nullptr});
        return *this;
    }
    XNode& floats(const std::vector<double>& v) {
        for (double x : v) add({Item::Float, x, {}, nullptr});
        return *this;
    }
    XNode& str(const std::string& s) { return add({Item::String, 0, s, nullptr}); }
    XNode& child(const XNode& node) { return add({Item::Child, 0, {}, std::make_shared<XNode>(node)}); }
    XNode& ref(const std::string& name) { return add({Item::Ref, 0, name, nullptr}); }
    XNode& add(Item item) {
        items.push_back(std::move(item));
        return *this;
    }
};

enum class Form { Text, Binary32, Binary64, TextZip, BinaryZip32, BinaryZip64 };
const char* formName(Form f);

// The whole file, header included. Each form starts with a few template
// declarations, which the reader must skip.
std::string writeFile(const std::vector<XNode>& objects, Form form);
std::string writeText(const std::vector<XNode>& objects);  // body only

// MSZIP: the DWORD total size (body + 16) and chunks of at most 32 KiB, each
// deflated with the previous 32 KiB as dictionary.
std::string compressMszip(const std::string& body);

// Writes bytes to a fresh file under the test temp directory; returns its path.
std::string saveTemp(const std::string& name, const std::string& bytes);

}  // namespace xtest

#endif
