// The open pipeline on a mailbox file: reading with ordering, then the row and the
// delimiter of every message, against reading the file into memory and counting
// its line feeds, on the same cached file.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "core/document/EKViewDoc.h"
#include "core/views/ThreadLink.h"

namespace {

std::size_t CountLineFeeds(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(0, std::ios::end);
    auto size = static_cast<std::size_t>(in.tellg());
    in.seekg(0);
    auto buffer = std::make_unique_for_overwrite<char[]>(size);
    in.read(buffer.get(), static_cast<std::streamsize>(size));
    return static_cast<std::size_t>(std::count(buffer.get(), buffer.get() + size, '\n'));
}

int ReadOnly(const std::string& path) {
    ek::CEKViewDoc doc;
    return doc.OpenMailFile(path).ok() ? doc.GetMessageCount() : -1;
}

int ReadWithRows(const std::string& path, bool threads) {
    ek::CEKViewDoc doc;
    if (!doc.OpenMailFile(path).ok()) {
        return -1;
    }
    std::vector<std::string> row;
    std::size_t multipart = 0;
    for (int i = 0; i < doc.GetMessageCount(); ++i) {
        doc.GetListRow(i, row);
        multipart += doc.GetBoundary(i).empty() ? 0 : 1;
    }
    if (threads) {
        return static_cast<int>(ek::BuildThreadOrder(doc, nullptr).size());
    }
    return static_cast<int>(multipart);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: read_bench MAILBOX\n");
        return 2;
    }
    const std::string path = argv[1];
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        std::perror(path.c_str());
        return 1;
    }
    CountLineFeeds(path);  // warm the page cache
    double megabytes = static_cast<double>(info.st_size) / 1e6;

    auto baseline = ek::bench::MeasureInChild([&] { CountLineFeeds(path); });
    auto read = ek::bench::MeasureInChild([&] { ReadOnly(path); });
    auto rows = ek::bench::MeasureInChild([&] { ReadWithRows(path, false); });
    auto threads = ek::bench::MeasureInChild([&] { ReadWithRows(path, true); });

    std::printf("mailbox: %s, %.1f MB, %d messages\n", path.c_str(), megabytes, ReadOnly(path));
    std::printf("%-34s %9s %9s %12s %10s\n", "step", "seconds", "ratio", "peak MiB", "peak/file");
    auto line = [&](const char* name, const ek::bench::Figure& f) {
        std::printf("%-34s %9.3f %9.2f %12.1f %10.2f\n", name, f.seconds,
                    f.seconds / baseline.seconds, static_cast<double>(f.peakKiB) / 1024,
                    static_cast<double>(f.peakKiB) * 1024 / static_cast<double>(info.st_size));
    };
    line("baseline: read + count LF", baseline);
    line("ReadMailFile (read + order)", read);
    line("ReadMailFile + every row", rows);
    line("ReadMailFile + rows + thread order", threads);
    return 0;
}
