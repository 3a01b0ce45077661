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

PropTextureQuery::PropTextureQuery() : patchByte(PatchByteAddress()), patchByteWritable(patchByte, 1) {}

int32_t PropTextureQuery::Texture(int32_t ped, uint32_t anchor) const {
  int32_t texture = 0;
  WriteHostCode<uint8_t>(patchByteWritable, patchByte, 8);
  GetPedPropIndex(ped, anchor, &texture);
  WriteHostCode<uint8_t>(patchByteWritable, patchByte, 4);
  return texture;
}
