#pragma once

// Room for a large text or byte buffer, backed by huge pages where the system offers them.
// A page of many megabytes is then written through a few hundred page faults instead of
// thousands, which on a virtual machine is a third of the time of a whole conversion.
//
//   std::u16string out;
//   reserveLarge(out, units);  // before the first write into the room
//
// The advice only helps: where huge pages are off, the buffer is an ordinary one.

#include <cstddef>

namespace yentax {

// Asks for huge pages under the whole pages of [data, data + bytes) not yet written.
void adviseLargePages(void* data, std::size_t bytes);

// Has the system put memory under the whole pages of [data, data + bytes) before the
// buffer is first written, half of it on another thread: on a virtual machine the first
// touch of memory is dear, and two cores take it in half the time. For a large buffer
// about to be filled whole.
void populatePages(void* data, std::size_t bytes);

// Gives the whole memory pages under [data, data + bytes) back to the system, for a buffer
// whose front is never read again: those bytes read as zeros afterwards.
void releasePages(void* data, std::size_t bytes);

// Lets the allocator keep freed buffers of up to a few megabytes for the next ones instead
// of handing their room back: converting a large page in pieces makes and drops such
// buffers hundreds of times, and room handed back is faulted in afresh every time. For a
// run that converts pages and ends, not for a window that stays open.
void keepFreedRoom();

// Reserves room for at least units elements and advises huge pages for it when it is large.
template <typename Buffer>
void reserveLarge(Buffer& buffer, std::size_t units) {
  if (units <= buffer.capacity()) return;
  buffer.reserve(units);
  adviseLargePages(buffer.data(), buffer.capacity() * sizeof(*buffer.data()));
}

}  // namespace yentax
