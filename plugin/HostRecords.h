#pragma once
// The records the host image browser and the plug-in exchange. Field order and byte offsets
// are the host's; on a 64-bit build every address field is pointer-sized and naturally
// aligned, which moves the fields after it. Both widths are checked below.
#include <cstddef>
#include <cstdint>

namespace HostRecords {

// How an address field is stored: a real pointer in this build, or a fixed width.
template <class T>
using NativeAddress = T*;
template <class T>
using Address32 = std::uint32_t;
template <class T>
using Address64 = std::uint64_t;

inline constexpr std::size_t kTypeCodeSize = 4;
inline constexpr std::size_t kTypeCodeCount = 16;

// One command the plug-in adds to the host (276 bytes, no address fields).
struct CommandRecord {
  std::uint32_t kind;   // 5
  std::uint32_t flags;  // 256
  char typeCodes[kTypeCodeCount][kTypeCodeSize];
  char menuText[40];
  char buttonText[40];
  char hint[80];
  std::uint32_t count;  // 1
  char shortText[36];
  std::uint32_t style;  // 4
};

// The area the description record points to: room for two commands, only the first used.
struct CommandRecordArea {
  CommandRecord records[2];
};

template <template <class> class Addr>
struct DescriptionRecordT {
  std::uint32_t reserved0;
  std::uint32_t version;  // 110
  char name[40];
  std::uint32_t reserved48;
  std::uint32_t commandCount;
  alignas(sizeof(Addr<CommandRecordArea>)) Addr<CommandRecordArea> commands;
};

template <template <class> class Addr>
struct EntryRecordT {
  std::uint32_t reserved0;
  alignas(sizeof(Addr<const char>)) Addr<const char> path;  // full path, zero-ended
  std::int32_t kind;  // 2: a file; 0 and 1 always take the batch form
  std::uint32_t reserved12;
  std::uint32_t reserved16;
};

template <template <class> class Addr>
struct InvocationRecordT {
  std::uint32_t reserved0;
  std::int32_t commandIndex;
  std::int32_t entryCount;
  alignas(sizeof(Addr<const EntryRecordT<Addr>>)) Addr<const EntryRecordT<Addr>> entries;
};

using DescriptionRecord = DescriptionRecordT<NativeAddress>;
using EntryRecord = EntryRecordT<NativeAddress>;
using InvocationRecord = InvocationRecordT<NativeAddress>;

// Offsets for an address width of P bytes; 4 gives the host's 32-bit layout exactly.
template <template <class> class Addr, std::size_t P>
constexpr bool CheckLayout() {
  constexpr bool wide = P == 8;
  using D = DescriptionRecordT<Addr>;
  static_assert(offsetof(D, reserved0) == 0);
  static_assert(offsetof(D, version) == 4);
  static_assert(offsetof(D, name) == 8);
  static_assert(offsetof(D, reserved48) == 48);
  static_assert(offsetof(D, commandCount) == 52);
  static_assert(offsetof(D, commands) == 56);
  static_assert(sizeof(D) == (wide ? 64 : 60));

  using E = EntryRecordT<Addr>;
  static_assert(offsetof(E, reserved0) == 0);
  static_assert(offsetof(E, path) == (wide ? 8 : 4));
  static_assert(offsetof(E, kind) == (wide ? 16 : 8));
  static_assert(offsetof(E, reserved12) == (wide ? 20 : 12));
  static_assert(offsetof(E, reserved16) == (wide ? 24 : 16));
  static_assert(sizeof(E) == (wide ? 32 : 20));

  using I = InvocationRecordT<Addr>;
  static_assert(offsetof(I, reserved0) == 0);
  static_assert(offsetof(I, commandIndex) == 4);
  static_assert(offsetof(I, entryCount) == 8);
  static_assert(offsetof(I, entries) == (wide ? 16 : 12));
  static_assert(sizeof(I) == (wide ? 24 : 16));
  return true;
}

static_assert(offsetof(CommandRecord, kind) == 0);
static_assert(offsetof(CommandRecord, flags) == 4);
static_assert(offsetof(CommandRecord, typeCodes) == 8);
static_assert(offsetof(CommandRecord, menuText) == 72);
static_assert(offsetof(CommandRecord, buttonText) == 112);
static_assert(offsetof(CommandRecord, hint) == 152);
static_assert(offsetof(CommandRecord, count) == 232);
static_assert(offsetof(CommandRecord, shortText) == 236);
static_assert(offsetof(CommandRecord, style) == 272);
static_assert(sizeof(CommandRecord) == 276);
static_assert(sizeof(CommandRecordArea) == 552);

static_assert(CheckLayout<Address32, 4>());
static_assert(CheckLayout<Address64, 8>());
static_assert(CheckLayout<NativeAddress, sizeof(void*)>());

}  // namespace HostRecords
