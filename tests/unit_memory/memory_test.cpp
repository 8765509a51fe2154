// The memory tracker, observed from outside: each case runs the probe program
// with one scenario in a fresh directory and checks the memory log and the
// leak report byte for byte (dates matched by pattern).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct ProbeRun {
    int exitCode = -1;
    std::string out;          // the probe's stdout
    std::string memoryLog;    // Logs/QNMemory.log, with the date replaced by "ASCTIME"
    std::string leakReport;   // Logs/QNMemleaks.log, with the date replaced by "DATE"
    std::string firstReport;  // Logs/first.log (after-exit scenario), date replaced
    std::vector<std::string> files;  // everything left in the run directory
    std::vector<uintptr_t> leaks;    // addresses the probe reported leaking
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string maskReportDate(const std::string& text) {
    static const std::regex date(R"(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d)");
    return std::regex_replace(text, date, "DATE", std::regex_constants::format_first_only);
}

std::string maskAsctime(const std::string& text) {
    static const std::regex date(R"([A-Z][a-z]{2} [A-Z][a-z]{2} [ 1-3]\d \d\d:\d\d:\d\d \d{4}\n)");
    return std::regex_replace(text, date, "ASCTIME", std::regex_constants::format_first_only);
}

ProbeRun runProbe(const char* scenario, bool withLogs = true, const char* oldLog = nullptr) {
    char pattern[] = "/tmp/zv-memory-XXXXXX";
    fs::path dir = mkdtemp(pattern);
    if (withLogs) fs::create_directory(dir / "Logs");
    if (oldLog) std::ofstream(dir / "Logs" / "QNMemory.log", std::ios::binary) << oldLog;

    ProbeRun run;
    std::string outPath = (dir / "out.txt").string();
    pid_t pid = fork();
    if (pid == 0) {
        int fd = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || chdir(dir.c_str()) != 0) _exit(126);
        dup2(fd, 1);
        execl(ZV_MEMORY_PROBE, "memory_probe", scenario, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);

    run.out = readFile(dir / "out.txt");
    run.memoryLog = maskAsctime(readFile(dir / "Logs" / "QNMemory.log"));
    run.leakReport = maskReportDate(readFile(dir / "Logs" / "QNMemleaks.log"));
    run.firstReport = maskReportDate(readFile(dir / "Logs" / "first.log"));
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir))
        run.files.push_back(fs::relative(entry.path(), dir).string());
    std::sort(run.files.begin(), run.files.end());
    std::istringstream lines(run.out);
    for (std::string word; lines >> word;)
        if (word == "leak" && lines >> word) run.leaks.push_back(std::stoull(word, nullptr, 16));
    fs::remove_all(dir);
    return run;
}

std::string rule80() { return std::string(80, '-'); }

std::string expectedHead() {
    const char* text[] = {
        "",
        "This file contains a log of all memory operations performed during the last run.",
        "",
        "Interrogate this file to track errors or to help track down memory-related",
        "issues. You can do this by tracing the allocations performed by a specific owner",
        "or by tracking a specific address through a series of allocations and",
        "reallocations.",
        "",
        "There is a lot of useful information here which, when used creatively, can be",
        "extremely helpful.",
        "",
        "Note that the following guides are used throughout this file:",
        "",
        "   [!] - Error",
        "   [+] - Allocation",
        "   [~] - Reallocation",
        "   [-] - Deallocation",
        "   [I] - Generic information",
        "   [F] - Failure induced for the purpose of stress-testing your application",
        "   [D] - Information used for debugging this memory manager",
        "",
        "...so, to find all errors in the file, search for \"[!]\"",
        "",
    };
    std::string head = rule80() + "\r\n\r\n" +
                       "      Logs\\QNMemory.log - Memory logging file created on ASCTIME\r\n" +
                       rule80() + "\r\n";
    for (const char* line : text)
        head += std::string(line) + "\r\n";
    return head + rule80() + "\r\n";
}

// Written with "\?" so that "??(" is not read as a trigraph.
const char kUnowned[] = "?\?(00000)::?\?";
const char kOutOfMemory[] = "[!] Request for allocation failed. Out of memory.\r\n";
const char kNeverAllocated[] = "[!] Request to deallocate RAM that was never allocated\r\n";

// One expected line of the leak table; the addresses come from the probe.
struct Leak {
    unsigned number;
    unsigned size;
    unsigned unused;
    const char* type;
    const char* owner;
    unsigned front = 16;  // bytes between the block's start and the caller's pointer
};

std::string hex(unsigned long long value) {
    char text[32];
    snprintf(text, sizeof text, "0x%08llX", value);
    return text;
}

std::string expectedReport(std::vector<Leak> leaks, const std::vector<uintptr_t>& addresses) {
    std::string border = " " + std::string(130, '-') + " \r\n";
    std::string report = border + "|" + std::string(42, ' ') + "Memory leak report for:  DATE" +
                         std::string(44, ' ') + "|\r\n" + border + "\r\n\r\n";
    if (leaks.empty()) return report + "Congratulations! No memory leaks found!\r\n\r\n";

    report += std::to_string(leaks.size()) + (leaks.size() == 1 ? " memory leak" : " memory leaks") +
              " found:\r\n\r\n";
    report += "Alloc.   Addr       Size       Addr       Size                        BreakOn BreakOn              \r\n";
    report += "Number Reported   Reported    Actual     Actual     Unused    Method  Dealloc Realloc Allocated by \r\n";
    for (int width : {6, 10, 10, 10, 10, 10, 8, 7, 7, 51})
        report += std::string(width, '-') + " ";
    report += "\r\n";

    // Bucket by bucket, newest first within a bucket.
    struct Row {
        unsigned bucket;
        Leak leak;
        uintptr_t address;
    };
    std::vector<Row> rows;
    for (size_t i = 0; i < leaks.size() && i < addresses.size(); ++i)
        rows.push_back({unsigned(addresses[i] >> 4) & 0xFFF, leaks[i], addresses[i]});
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        return a.bucket != b.bucket ? a.bucket < b.bucket : a.leak.number > b.leak.number;
    });
    for (const Row& r : rows) {
        char line[512];
        snprintf(line, sizeof line, "%06u %s %s %s %s %s %-8s    N       N    %s\r\n", r.leak.number,
                 hex(r.address).c_str(), hex(r.leak.size).c_str(), hex(r.address - r.leak.front).c_str(),
                 hex(r.leak.size + r.leak.front + 16).c_str(), hex(r.leak.unused).c_str(), r.leak.type,
                 r.leak.owner);
        report += line;
    }
    return report;
}

struct ReportCase {
    const char* scenario;
    std::vector<Leak> leaks;
};

void PrintTo(const ReportCase& c, std::ostream* os) { *os << c.scenario; }

class LeakReport : public ::testing::TestWithParam<ReportCase> {};

TEST_P(LeakReport, ListsEveryLiveBlockExactly) {
    const ReportCase& c = GetParam();
    ProbeRun run = runProbe(c.scenario);
    ASSERT_EQ(run.exitCode, 0) << run.out;
    ASSERT_EQ(run.leaks.size(), c.leaks.size()) << run.out;
    EXPECT_EQ(run.leakReport, expectedReport(c.leaks, run.leaks));
    EXPECT_EQ(run.memoryLog, expectedHead()) << "no error lines expected";
    EXPECT_EQ(run.out.find("misaligned"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Memory, LeakReport,
    ::testing::Values(
        ReportCase{"none", {}},
        // Never written: the partial last word of 10 bytes does not count.
        ReportCase{"one", {{1, 10, 8, "new[]", kUnowned}}},
        ReportCase{"owners",
                   {{1, 12, 12, "new[]", "ZVBaseLevel.cpp(00042)::??"},
                    {2, 1, 0, "new", kUnowned},  // new of 0 bytes
                    {3, 9, 4, "new", "ZVBlock.cpp(00007)::update"},  // first word written,
                    {4, 4, 4, "new", kUnowned},
                    {5, 4, 4, "new[]", kUnowned},
                    {6, 16, 16, "new[]",
                     "AFileNameLongerThanThirtyNineCharacters(123456)::aFunctionNameLongerThanThirtyNineCharac"}}},
        // Over-aligned blocks keep their alignment: the front guard grows to it.
        ReportCase{"aligned", {{2, 64, 64, "new", kUnowned, 64}, {3, 128, 128, "new[]", kUnowned, 64}}},
        // The library's own code (string, vector) allocates through the tracker.
        ReportCase{"library", {{1, 65, 0, "new", kUnowned}, {2, 40, 0, "new", kUnowned}}},
        ReportCase{"thread-owner", {{1, 4, 4, "new[]", kUnowned},
                                    {2, 8, 8, "new[]", "QNSoundManager.cpp(00077)::??"}}},
        // Four threads allocate and free thousands of blocks at once.
        ReportCase{"threads", {}}),
    [](const ::testing::TestParamInfo<ReportCase>& info) {
        std::string name = info.param.scenario;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

TEST(MemoryLog, HeadReplacesThePreviousLog) {
    ProbeRun run = runProbe("none", true, "stale text from an earlier run\r\n");
    EXPECT_EQ(run.memoryLog, expectedHead());
}

TEST(MemoryLog, BadReleasesAreLoggedAndNothingIsFreed) {
    ProbeRun run = runProbe("errors");
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("alive"), std::string::npos);
    // Double delete, a pointer into a live block, a stack address.
    EXPECT_EQ(run.memoryLog, expectedHead() + kNeverAllocated + kNeverAllocated + kNeverAllocated);
    EXPECT_EQ(run.leakReport, expectedReport({{2, 16, 16, "new[]", kUnowned}}, run.leaks));
}

TEST(MemoryLog, HugeRequestsFailWithBadAllocNeverAShortBlock) {
    ProbeRun run = runProbe("huge");
    ASSERT_EQ(run.exitCode, 0);
    // Size + guards overflowing, wrapping to zero, and beyond the 32-bit size
    // field; then nothrow gives null; then a new-handler is asked twice (three
    // attempts: it gives up on its second call).
    EXPECT_EQ(run.out.substr(0, run.out.find("leak")),
              "bad_alloc\nbad_alloc\nbad_alloc\nnothrow null\nbad_alloc\nhandler calls 2\n");
    std::string errors;
    for (int i = 0; i < 7; ++i)
        errors += kOutOfMemory;
    EXPECT_EQ(run.memoryLog, expectedHead() + errors);
    // Every failed attempt still counted as an allocation.
    EXPECT_EQ(run.leakReport, expectedReport({{8, 4, 4, "new[]", kUnowned}}, run.leaks));
}

TEST(MemoryLog, MissingLogsFolderIsSkippedSilently) {
    ProbeRun run = runProbe("nologs", false);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.files, std::vector<std::string>{"out.txt"});
}

TEST(MemoryLog, ReleaseAfterExitRewritesTheReport) {
    ProbeRun run = runProbe("after-exit");
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_NE(run.firstReport.find("1 memory leak found:"), std::string::npos) << run.firstReport;
    EXPECT_EQ(run.leakReport, expectedReport({}, {}));
}

TEST(MemoryLog, ProgramDoesNotExportOperatorNew) {
    ProbeRun run = runProbe("exports");
    EXPECT_EQ(run.out, "operator new exported: no\n");
}

}  // namespace
