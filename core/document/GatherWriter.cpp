#include "core/document/GatherWriter.h"

#include <functional>

namespace ek {

namespace {

// Room for the bytes that do not lie in the document (the "From " lines, quoting).
constexpr std::size_t kArenaSize = std::size_t{64} << 10;

}  // namespace

GatherWriter::GatherWriter(ExportFile& file) : m_file(file) {
    for (Batch& batch : m_batches) {
        batch.arena.reserve(kArenaSize);
        batch.pieces.reserve(kGatherPieces);
    }
    m_thread = std::thread([this] { WriteBatches(); });
}

GatherWriter::~GatherWriter() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void GatherWriter::Add(std::string_view piece) {
    Batch* batch = &m_batches[m_current];
    if (!m_ok || piece.empty()) {
        return;
    }
    if (batch->pieces.size() == kGatherPieces) {
        if (!Flush()) {
            return;
        }
        batch = &m_batches[m_current];
    }
    if (IsStable(piece)) {
        batch->pieces.push_back(piece);
        return;
    }
    if (batch->arena.size() + piece.size() > batch->arena.capacity()) {
        if (!Flush()) {
            return;
        }
        batch = &m_batches[m_current];
    }
    if (piece.size() > batch->arena.capacity()) {
        // Too large to copy: written at once, after everything before it.
        if (Wait()) {
            m_ok = m_file.Write(piece, m_reason);
        }
        return;
    }
    const char* at = batch->arena.data() + batch->arena.size();
    batch->arena.append(piece);
    if (!batch->pieces.empty() && batch->pieces.back().data() + batch->pieces.back().size() == at) {
        batch->pieces.back() = {batch->pieces.back().data(),
                                batch->pieces.back().size() + piece.size()};
    } else {
        batch->pieces.push_back({at, piece.size()});
    }
}

bool GatherWriter::Finish() {
    return Flush() && Wait();
}

bool GatherWriter::IsStable(std::string_view piece) const {
    std::less<const char*> before;
    return !before(piece.data(), m_stable.data()) &&
           !before(m_stable.data() + m_stable.size(), piece.data() + piece.size());
}

bool GatherWriter::Flush() {
    Batch& batch = m_batches[m_current];
    if (batch.pieces.empty()) {
        return m_ok;
    }
    if (!Wait()) {
        return false;
    }
    {
        std::lock_guard lock(m_mutex);
        m_pending = &batch;
    }
    m_changed.notify_all();
    // The other batch was written: it is gathered into next.
    m_current = 1 - m_current;
    m_batches[m_current].pieces.clear();
    m_batches[m_current].arena.clear();
    return true;
}

bool GatherWriter::Wait() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_pending == nullptr; });
    if (m_writeFailed && m_ok) {
        m_ok = false;
        m_reason = m_writeReason;
    }
    return m_ok;
}

void GatherWriter::WriteBatches() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_pending != nullptr || m_stop; });
        if (m_pending == nullptr) {
            return;
        }
        const Batch* batch = m_pending;
        lock.unlock();
        std::string reason;
        const bool written = m_file.WriteGather(batch->pieces, reason);
        lock.lock();
        if (!written) {
            m_writeFailed = true;
            m_writeReason = reason;
        }
        m_pending = nullptr;
        m_changed.notify_all();
    }
}

}  // namespace ek
