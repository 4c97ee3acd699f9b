#include "core/platform/FileMapping.h"

#include <utility>

#ifndef _WIN32
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#endif

namespace ek {

#ifdef _WIN32

FileMapping::~FileMapping() = default;
FileMapping::FileMapping(FileMapping&& other) noexcept = default;
FileMapping& FileMapping::operator=(FileMapping&& other) noexcept = default;

// Windows reads the file: a view there would keep the file from being replaced.
bool FileMapping::Map(int /*fd*/, std::size_t /*size*/, std::size_t /*slack*/) {
    return false;
}

void FileMapping::Unmap() {}

bool FileMapping::LostPages() const {
    return false;
}

#else

namespace {

// The mappings that the bus-error guard may repair. A fault inside one of them means
// its file was cut short: the page is replaced by zeros and the mapping marked.
struct GuardSlot {
    std::atomic<bool> used{false};
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<bool> lost{false};
};

constexpr std::size_t kSlots = 64;
std::array<GuardSlot, kSlots> g_slots;
std::uintptr_t g_pageSize = 4096;
struct sigaction g_previous {};
std::once_flag g_installed;

void OnBusError(int signal, siginfo_t* info, void* /*context*/) {
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    // A positive code comes from the kernel: a fault at that address.
    if (info->si_code > 0) {
        for (GuardSlot& slot : g_slots) {
            if (slot.used.load() && address >= slot.begin.load() && address < slot.end.load()) {
                void* page = reinterpret_cast<void*>(address & ~(g_pageSize - 1));
                if (::mmap(page, g_pageSize, PROT_READ | PROT_WRITE,
                           MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
                    slot.lost.store(true);
                    return;
                }
            }
        }
    }
    // Not ours: the disposition we replaced takes the signal when the fault repeats.
    ::sigaction(SIGBUS, &g_previous, nullptr);
    if (info->si_code <= 0) {
        ::raise(signal);
    }
}

void InstallGuard() {
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pageSize > 0) {
        g_pageSize = static_cast<std::uintptr_t>(pageSize);
    }
    struct sigaction action {};
    action.sa_sigaction = OnBusError;
    action.sa_flags = SA_SIGINFO | SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &g_previous);
}

int Register(std::uintptr_t begin, std::uintptr_t end) {
    for (std::size_t k = 0; k < kSlots; ++k) {
        bool expected = false;
        if (g_slots[k].used.compare_exchange_strong(expected, true)) {
            g_slots[k].lost.store(false);
            g_slots[k].begin.store(begin);
            g_slots[k].end.store(end);
            return static_cast<int>(k);
        }
    }
    return -1;
}

void Unregister(int slot) {
    g_slots[static_cast<std::size_t>(slot)].end.store(0);
    g_slots[static_cast<std::size_t>(slot)].begin.store(0);
    g_slots[static_cast<std::size_t>(slot)].used.store(false);
}

}  // namespace

FileMapping::~FileMapping() {
    Unmap();
}

FileMapping::FileMapping(FileMapping&& other) noexcept {
    *this = std::move(other);
}

FileMapping& FileMapping::operator=(FileMapping&& other) noexcept {
    if (this != &other) {
        Unmap();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_reserved = std::exchange(other.m_reserved, 0);
        m_fileExtent = std::exchange(other.m_fileExtent, 0);
        m_slot = std::exchange(other.m_slot, -1);
    }
    return *this;
}

bool FileMapping::Map(int fd, std::size_t size, std::size_t slack) {
    Unmap();
    std::call_once(g_installed, InstallGuard);
    const std::size_t page = g_pageSize;
    if (size == 0 || size > SIZE_MAX - slack - page) {
        return false;
    }
    const std::size_t reserved = (size + slack + page - 1) & ~(page - 1);
    // Zeros for the whole extent first, then the file over its start, so that the
    // slack past the file's last page is ordinary memory.
    void* base = ::mmap(nullptr, reserved, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (base == MAP_FAILED) {
        return false;
    }
    if (::mmap(base, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_FIXED | MAP_NORESERVE, fd,
               0) == MAP_FAILED) {
        ::munmap(base, reserved);
        return false;
    }
    const auto begin = reinterpret_cast<std::uintptr_t>(base);
    const std::size_t fileExtent = (size + page - 1) & ~(page - 1);
    const int slot = Register(begin, begin + fileExtent);
    if (slot < 0) {
        ::munmap(base, reserved);
        return false;
    }
    m_data = static_cast<char*>(base);
    m_size = size;
    m_reserved = reserved;
    m_fileExtent = fileExtent;
    m_slot = slot;
    return true;
}

void FileMapping::Unmap() {
    if (m_data == nullptr) {
        return;
    }
    Unregister(m_slot);
    ::munmap(m_data, m_reserved);
    m_data = nullptr;
    m_size = 0;
    m_reserved = 0;
    m_fileExtent = 0;
    m_slot = -1;
}

bool FileMapping::LostPages() const {
    return m_slot >= 0 && g_slots[static_cast<std::size_t>(m_slot)].lost.load();
}

#endif

}  // namespace ek
