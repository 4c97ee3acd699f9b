// ekview-gen: writes a deterministic, realistic EK-Mail mailbox for the benchmarks.
//
//   ekview-gen --seed N --messages N [--crlf-percent P] [--out FILE]
//
// The same seed and options give the same bytes with every compiler and standard library.

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

#include "GenMail.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr std::string_view kUsage =
    "usage: ekview-gen --seed N --messages N [--crlf-percent P] [--out FILE]\n"
    "Writes an EK-Mail mailbox in code page 932 to FILE or to standard output.\n";

// Output is gathered in memory and written in blocks of this size.
constexpr std::size_t kBlock = 4 << 20;

struct Args {
    ek::gen::GenOptions gen;
    std::string out;
};

bool ParseNumber(std::string_view text, std::uint64_t& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty();
}

// Returns an error text, or an empty one when the arguments are good.
std::string Parse(int argc, char** argv, Args& args) {
    bool haveSeed = false;
    bool haveCount = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view name = argv[i];
        if (i + 1 >= argc) {
            return "missing value after " + std::string(name);
        }
        const std::string_view value = argv[++i];
        std::uint64_t number = 0;
        if (name == "--out") {
            args.out = value;
            continue;
        }
        if (!ParseNumber(value, number)) {
            return "not a number: " + std::string(value);
        }
        if (name == "--seed") {
            args.gen.seed = number;
            haveSeed = true;
        } else if (name == "--messages") {
            args.gen.messages = number;
            haveCount = true;
        } else if (name == "--crlf-percent" && number <= 100) {
            args.gen.crlfPercent = static_cast<std::uint32_t>(number);
        } else {
            return "unknown option or value out of range: " + std::string(name);
        }
    }
    if (!haveSeed || !haveCount) {
        return "--seed and --messages are required";
    }
    return {};
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

bool Flush(std::FILE* f, std::string& buffer) {
    const bool ok = std::fwrite(buffer.data(), 1, buffer.size(), f) == buffer.size();
    buffer.clear();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        std::fwrite(kUsage.data(), 1, kUsage.size(), stdout);
        return 0;
    }
    Args args;
    if (const std::string error = Parse(argc, argv, args); !error.empty()) {
        std::fprintf(stderr, "ekview-gen: %s\n%.*s", error.c_str(), static_cast<int>(kUsage.size()),
                     kUsage.data());
        return 2;
    }

    std::unique_ptr<std::FILE, FileCloser> file;
    std::FILE* f = stdout;
    if (!args.out.empty()) {
        file.reset(std::fopen(args.out.c_str(), "wb"));
        if (!file) {
            std::fprintf(stderr, "ekview-gen: cannot write %s\n", args.out.c_str());
            return 1;
        }
        f = file.get();
    } else {
#ifdef _WIN32
        _setmode(_fileno(stdout), _O_BINARY);
#endif
    }

    const ek::gen::MailGenerator generator(args.gen);
    std::string buffer;
    buffer.reserve(kBlock + (kBlock >> 1));
    bool ok = true;
    for (std::uint64_t i = 0; i < args.gen.messages && ok; ++i) {
        generator.AppendMessage(i, buffer);
        if (buffer.size() >= kBlock) {
            ok = Flush(f, buffer);
        }
    }
    ok = ok && Flush(f, buffer) && std::fflush(f) == 0;
    if (file) {
        ok = std::fclose(file.release()) == 0 && ok;
    }
    if (!ok) {
        std::fprintf(stderr, "ekview-gen: write failed\n");
        return 1;
    }
    return 0;
}
