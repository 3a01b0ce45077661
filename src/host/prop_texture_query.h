// The texture of the prop at a ped's anchor. The host has no native for it: its prop
// query reports the texture in place of the index while a byte of its code reads 8.
#pragma once
#include <cstdint>

#include "host/host_memory.h"
#include "host/unwind_guard.h"

// Holds that code byte's page writable for its lifetime, so that a run of queries (a
// capture makes eleven, on every frame at a site) lifts the protection once. A local
// variable only: when an exception in a query is taken by the host's handler further
// out, the byte and the page's protection are put back as the stack unwinds.
class PropTextureQuery {
 public:
  PropTextureQuery();
  PropTextureQuery(const PropTextureQuery&) = delete;
  PropTextureQuery& operator=(const PropTextureQuery&) = delete;

  // The byte is 8 only for the one call and back at 4 at once, so that no other caller
  // of the host's query sees the change.
  int32_t Texture(int32_t ped, uint32_t anchor) const;

 private:
  // What the host's code had before, put back when the stack unwinds past the query.
  static void PutBack(void* query);

  uintptr_t patchByte;  // declared before the scope, which is built over it
  ProtectionScope patchByteWritable;
  UnwindGuard unwound;  // after the scope: it leaves the chain first
};
