#include "host/prop_texture_query.h"

#include "host/game_version.h"
#include "host/natives.h"

namespace {
// A byte of the host's code: resolved on first use and kept.
uintptr_t PatchByteAddress() {
  static const HostAddress patchByte(HostOffsets::propQueryPatchByte);
  return patchByte.address;
}
}  // namespace

PropTextureQuery::PropTextureQuery()
    : patchByte(PatchByteAddress()), patchByteWritable(patchByte, 1), unwound(PutBack, this) {}

void PropTextureQuery::PutBack(void* query) {
  auto& self = *static_cast<PropTextureQuery*>(query);
  // The byte reads 8 only while one of our queries runs: that is the exception's query.
  if (ReadHostMemory<uint8_t>(self.patchByte) == 8) WriteHostCode<uint8_t>(self.patchByteWritable, self.patchByte, 4);
  self.patchByteWritable.Restore();
}

int32_t PropTextureQuery::Texture(int32_t ped, uint32_t anchor) const {
  int32_t texture = 0;
  WriteHostCode<uint8_t>(patchByteWritable, patchByte, 8);
  GetPedPropIndex(ped, anchor, &texture);
  WriteHostCode<uint8_t>(patchByteWritable, patchByte, 4);
  return texture;
}
