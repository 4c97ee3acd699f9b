// Output gathered for writev, written on a thread of its own while the next batch is
// gathered, so that the system's copy of one batch overlaps the reading of the next.
#pragma once

#include <array>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "core/document/Export.h"

namespace ek {

// Pieces handed to the system in one writev (its limit, IOV_MAX, is 1024).
inline constexpr std::size_t kGatherPieces = 1024;

// The document's lines are written from where they lie, and only the bytes made for
// the export are copied, into an arena that is not touched again until the pieces
// pointing into it have been written.
class GatherWriter {
  public:
    explicit GatherWriter(ExportFile& file);
    // Waits for the write in flight; the file stays open.
    ~GatherWriter();
    GatherWriter(const GatherWriter&) = delete;
    GatherWriter& operator=(const GatherWriter&) = delete;

    // The text in which the pieces to come may lie, valid until the writer is done.
    void SetStable(std::string_view text) { m_stable = text; }
    void Add(std::string_view piece);
    // Writes everything added and waits for it; false, with the reason, once a write
    // failed.
    bool Finish();
    bool ok() const { return m_ok; }
    const std::string& reason() const { return m_reason; }

  private:
    struct Batch {
        std::string arena;
        std::vector<std::string_view> pieces;
    };

    bool IsStable(std::string_view piece) const;
    // Hands the current batch to the writing thread once the one before is written.
    bool Flush();
    // Waits until no batch is being written; false once a write failed.
    bool Wait();
    void WriteBatches();

    ExportFile& m_file;
    std::string_view m_stable;
    std::array<Batch, 2> m_batches;
    std::size_t m_current = 0;
    std::string m_reason;
    bool m_ok = true;

    // Shared with the writing thread.
    std::mutex m_mutex;
    std::condition_variable m_changed;
    const Batch* m_pending = nullptr;
    bool m_stop = false;
    bool m_writeFailed = false;
    std::string m_writeReason;
    std::thread m_thread;
};

}  // namespace ek
