#pragma once
// GuardedMapping: a read-only mapping of a file that another program may cut short while it is
// read. A read past the file's new end would end the process with SIGBUS; here the pages lost
// read as zeros and Changed() says so, so only that picture fails. Any thread may read it.
#include <cstddef>
#include <cstdint>

class GuardedMapping {
 public:
  // Maps size bytes of the open file fd; Data() is null when it cannot (a pipe, no slot left),
  // and the caller reads the file instead.
  GuardedMapping(int fd, std::size_t size);
  ~GuardedMapping();
  GuardedMapping(const GuardedMapping&) = delete;
  GuardedMapping& operator=(const GuardedMapping&) = delete;

  const std::uint8_t* Data() const { return data_; }
  std::size_t Size() const { return size_; }
  // True once a read found the file shorter than when it was mapped.
  bool Changed() const;

 private:
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t length_ = 0;  // size_ rounded up to whole pages
  int slot_ = -1;
};
