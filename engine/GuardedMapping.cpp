#include "engine/GuardedMapping.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <mutex>

namespace {

constexpr int kSlots = 64;

struct Slot {
  std::atomic<std::uintptr_t> begin{0};
  std::atomic<std::uintptr_t> end{0};
  std::atomic<bool> changed{false};
};

Slot slots[kSlots];
std::uintptr_t pageSize = 4096;
struct sigaction previous {};

void OnBusError(int signal, siginfo_t* info, void* context) {
  const auto at = reinterpret_cast<std::uintptr_t>(info->si_addr);
  for (Slot& slot : slots) {
    const std::uintptr_t begin = slot.begin.load(), end = slot.end.load();
    if (begin == 0 || at < begin || at >= end) continue;
    // Zero pages over the rest of the mapping; the read is then repeated and succeeds.
    const std::uintptr_t page = at & ~(pageSize - 1);
    if (::mmap(reinterpret_cast<void*>(page), end - page, PROT_READ,
               MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) == MAP_FAILED)
      break;
    slot.changed.store(true);
    return;
  }
  // Not a guarded file: whoever handled it before, else the default (the fault comes again).
  if ((previous.sa_flags & SA_SIGINFO) && previous.sa_sigaction) {
    previous.sa_sigaction(signal, info, context);
  } else if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
    previous.sa_handler(signal);
  } else {
    ::signal(SIGBUS, SIG_DFL);
  }
}

void InstallHandler() {
  static std::once_flag once;
  std::call_once(once, [] {
    pageSize = std::uintptr_t(::sysconf(_SC_PAGESIZE));
    struct sigaction action {};
    action.sa_sigaction = OnBusError;
    action.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &previous);
  });
}

}  // namespace

GuardedMapping::GuardedMapping(int fd, std::size_t size) {
  if (fd < 0 || size == 0) return;
  InstallHandler();
  for (int i = 0; i < kSlots && slot_ < 0; ++i) {
    std::uintptr_t free = 0;
    if (slots[i].begin.compare_exchange_strong(free, 1)) slot_ = i;  // 1: taken, not yet mapped
  }
  if (slot_ < 0) return;
  void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
  if (mapped == MAP_FAILED) {
    slots[slot_].begin.store(0);
    slot_ = -1;
    return;
  }
  length_ = (size + pageSize - 1) & ~(pageSize - 1);
  const auto begin = reinterpret_cast<std::uintptr_t>(mapped);
  slots[slot_].changed.store(false);
  slots[slot_].end.store(begin + length_);
  slots[slot_].begin.store(begin);
  data_ = static_cast<const std::uint8_t*>(mapped);
  size_ = size;
}

GuardedMapping::~GuardedMapping() {
  if (slot_ < 0) return;
  if (data_) ::munmap(const_cast<std::uint8_t*>(data_), length_);
  slots[slot_].end.store(0);
  slots[slot_].begin.store(0);
}

bool GuardedMapping::Changed() const { return slot_ >= 0 && slots[slot_].changed.load(); }
