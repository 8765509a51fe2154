// Once-only reports of API corners a part of the layer leaves out, so an
// unexpected flag, format or mode is visible on stderr without flooding it.
// Header-only: every part of the layer keeps its own table.
#ifndef ZV_PLATFORM_COMMON_UNHANDLEDREPORT_H
#define ZV_PLATFORM_COMMON_UNHANDLEDREPORT_H

#include <cstdio>
#include <cstring>

namespace zvplatform {

class UnhandledReport {
public:
    // prefix names the part of the layer ("d3d9", "d3dx9 image").
    explicit constexpr UnhandledReport(const char* prefix) : m_prefix(prefix) {}

    // Writes "<prefix>: [<call>: ]unhandled <what> <value> (0x<value>)" the
    // first time a (call, what, value) triple is met; call may be null.
    // The table is fixed, not a container: a report may come from a draw call
    // or from outside the memory tracker's life, so nothing here allocates.
    // Once it is full (corrupt files can name endless values) one last line
    // says so and later values are not shown.
    void operator()(const char* call, const char* what, unsigned long value) {
        for (int i = 0; i < m_count; ++i) {
            const Seen& s = m_seen[i];
            if (s.value == value && same(s.call, call) && same(s.what, what)) return;
        }
        if (m_count == kSize) return;
        m_seen[m_count++] = Seen{call, what, value};
        std::fprintf(stderr, "%s: %s%sunhandled %s %ld (0x%lx)\n", m_prefix, call ? call : "",
                     call ? ": " : "", what, static_cast<long>(value), value);
        if (m_count == kSize) std::fprintf(stderr, "%s: further unhandled values not shown\n", m_prefix);
    }

private:
    static bool same(const char* a, const char* b) {
        return a == b || (a && b && std::strcmp(a, b) == 0);
    }

    struct Seen {
        const char* call;
        const char* what;
        unsigned long value;
    };
    static const int kSize = 64;
    const char* m_prefix;
    Seen m_seen[kSize] = {};
    int m_count = 0;
};

}  // namespace zvplatform

#endif
