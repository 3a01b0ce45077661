// What a frame with the wardrobe menu open costs, in the simulated host: the host's
// frame without the plug-in, then with the menu open on a player whose every component
// has several drawables (29 rows), on one where every component's worn drawable has a
// single texture but another has several (each frame asks every drawable's texture
// count for the disabled variant rows), on the host's default model, and with the
// highlight on "Name Outfit" of an outfit named with 24 characters, without and while
// the name is edited. Microseconds and natives per frame, texts drawn and natives per
// text, and the plug-in's share of a 60 fps frame. Reported, never asserted.
//
// The simulator records every native call with its arguments as text, which costs far
// more than a call into the host's own handler. So the natives of one menu frame are
// also replayed alone (same hashes and arguments, through the plug-in's lookup), and
// the plug-in's own work is the menu frame less the host's frame less that replay.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench_support.h"
#include "core/frame_callbacks.h"
#include "core/start_up.h"
#include "core/wardrobe_frame.h"
#include "host/code_hooks.h"
#include "host/host_locations.h"
#include "host/native_call.h"
#include "menu/wardrobe_menu.h"
#include "outfits/outfit_files.h"
#include "sim/sim.h"

namespace {

// Rounds of frames and of replays alternate, and the quickest round of each counts:
// the machine's other work only ever adds time. Each round lasts about a fifth of a
// second (a fiftieth in a brief run), so each figure about a second.
constexpr int rounds = 5;
double SecondsPerRound() { return FigureSeconds(0.2); }

// The native calls of one frame, ready to be made again without the plug-in's logic:
// string arguments point at copies of their text, pointer arguments at scratch space.
struct RecordedCall {
  uint32_t hash;
  std::string signature;
  uint32_t slots[16];
  std::vector<std::string> texts;
};

std::vector<RecordedCall> RecordOneFrame() {
  sim::ClearNativeLog();
  sim::RunFrame();
  std::vector<RecordedCall> calls;
  for (const sim::NativeCall& call : sim::NativeLog()) {
    RecordedCall recorded{call.hash, call.signature, {}, call.args};
    std::memcpy(recorded.slots, call.slots, sizeof recorded.slots);
    calls.push_back(recorded);
  }
  sim::ClearNativeLog();
  return calls;
}

double ReplayMicroseconds(const std::vector<RecordedCall>& calls, double seconds) {
  int32_t scratch[4] = {};
  return 1e6 * SecondsPerRun(seconds, [&] {
           for (const RecordedCall& call : calls) {
             NativeCallContext context;
             for (size_t k = 0; k < call.signature.size(); ++k) {
               switch (call.signature[k]) {
                 case 's': context.PushArgument(call.texts[k].c_str()); break;
                 case 'p': context.PushArgument(static_cast<const void*>(&scratch[k % 4])); break;
                 default: context.PushArgument(call.slots[k]);
               }
             }
             InvokeNative(call.hash, context);
           }
           sim::ClearNativeLog();
         });
}

// One model's menu frames: their cost, the replay of their natives, and the rows and
// texts one frame draws.
struct MenuCost {
  FrameCost frame{1e30, 0};
  double replayMicroseconds = 1e30;
  int rows = 0;
  size_t texts = 0;
};

// Menu frames and the replay of their natives, the quickest round of each.
MenuCost MeasureMenu() {
  MenuCost best;
  const std::vector<RecordedCall> calls = RecordOneFrame();
  best.rows = WardrobeMenu.rowCount;
  best.texts = sim::World().drawnThisFrame.size();
  for (int round = 0; round < rounds; ++round) {
    FrameCost cost = MeasureFrames(SecondsPerRound());
    if (cost.microseconds < best.frame.microseconds) best.frame = cost;
    double replay = ReplayMicroseconds(calls, SecondsPerRound());
    if (replay < best.replayMicroseconds) best.replayMicroseconds = replay;
  }
  return best;
}

void DressEveryComponent(const std::vector<uint32_t>& textureCounts) {
  for (int c = 0; c < sim::ComponentCount; ++c) {
    sim::SetComponentModel(c, textureCounts);
    sim::Wear(c, 0, 0);
  }
}

void OpenWardrobe() {
  sim::PutPlayerAtSite(2);
  sim::RunFrame();
  sim::SetPad(23, true);
  sim::RunFrame();
  sim::SetPad(23, false);
  sim::RunFrame();
  sim::RunFrame();
}

}  // namespace

int main(int argc, char** argv) {
  if (!ReadBenchmarkOptions(argc, argv)) {
    std::printf("usage: %s [--brief]\n", argv[0]);
    return 2;
  }
  PrepareBenchmarkHost();
  const sim::PedModel defaultModel = sim::Ped();

  DressEveryComponent({3, 2, 4, 2});
  sim::PutPlayerAtSite(2);
  FrameCost host = MeasureFrames(SecondsPerRound());
  for (int round = 1; round < rounds; ++round) {
    FrameCost again = MeasureFrames(SecondsPerRound());
    if (again.microseconds < host.microseconds) host = again;
  }

  InstallHooks(frameCallbacks, cameraCallbacks);
  InitPlugin();
  OpenWardrobe();
  if (!WardrobeDriverState.menuOpen) {
    std::printf("the wardrobe did not open\n");
    return 1;
  }
  const MenuCost varied = MeasureMenu();

  DressEveryComponent({1, 1, 1, 1, 1, 1, 1, 1, 1, 4});
  sim::RunFrame();
  const MenuCost placeholders = MeasureMenu();

  // The simulated host's own model, as a player's game starts.
  for (int c = 0; c < sim::ComponentCount; ++c) {
    sim::SetComponentModel(c, defaultModel.components[c].textureCounts);
    sim::Wear(c, 0, 0);
  }
  sim::RunFrame();
  const MenuCost standard = MeasureMenu();

  // An outfit named with 24 characters, the highlight on its "Name Outfit" row (the
  // last but four), first as it is, then while its name is edited.
  const char* const name24 = "Weekend Beach Day Look 1";
  std::FILE* file = std::fopen("WardrobeOutfits.ini", "wb");
  if (file == nullptr) return 1;
  std::fprintf(file, "[Outfit0]\r\nDrawable0=0\r\nName=%s\r\n", name24);
  std::fclose(file);
  LoadOutfits();
  DressEveryComponent({3, 2, 4, 2});
  sim::RunFrame();
  WardrobeMenu.selectedRow = WardrobeMenu.rowCount - 5;
  WardrobeMenu.selectedOutfit = 0;
  const MenuCost named = MeasureMenu();
  WardrobeMenu.naming = true;
  WardrobeMenu.namingOutfit = 0;
  WardrobeMenu.namingEpisode = EpisodeNumber();
  std::snprintf(WardrobeMenu.nameText, sizeof WardrobeMenu.nameText, "%s", name24);
  WardrobeMenu.nameCursor = 23;
  const MenuCost editing = MeasureMenu();
  const bool stillEditing = WardrobeMenu.naming;
  DeleteFileA("WardrobeOutfits.ini");

  const double budget = 1e6 / 60.0;
  std::printf("%-58s %9s %9s %6s %9s\n", "", "us/frame", "natives", "texts", "per text");
  std::printf("%-58s %9.2f %9.1f\n", "simulated host frame, no plug-in", host.microseconds, host.natives);
  struct Line {
    const char* name;
    const MenuCost& cost;
  };
  for (const Line& line :
       {Line{"menu open, the host's default model", standard}, Line{"menu open, every component varied", varied},
        Line{"menu open, 10 drawables each, worn one plain", placeholders},
        Line{"menu open on Name Outfit, 24-character name", named},
        Line{"the same while the name is edited", editing}}) {
    char name[80];
    std::snprintf(name, sizeof name, "%s (%d rows)", line.name, line.cost.rows);
    const FrameCost& frame = line.cost.frame;
    const double withSimulator = frame.microseconds - host.microseconds;
    const double own = withSimulator - line.cost.replayMicroseconds;
    std::printf("%-58s %9.2f %9.1f %6zu %9.2f\n", name, frame.microseconds, frame.natives, line.cost.texts,
                line.cost.texts > 0 ? frame.natives / static_cast<double>(line.cost.texts) : 0.0);
    std::printf("    share of a 60 fps frame, simulator's natives included: %.3f %% (target 5 %%)\n",
                100.0 * withSimulator / budget);
    std::printf("    its natives replayed alone: %.2f us (%.2f us each: lookup, handler, the simulator's record)\n",
                line.cost.replayMicroseconds, line.cost.replayMicroseconds / frame.natives);
    std::printf("    the plug-in's own work (frame - host frame - replay): %.2f us = %.3f %% (noise: tens of us)\n",
                own, 100.0 * own / budget);
  }
  std::printf("(natives: every host call of a menu frame; per text: natives / texts drawn; target 14.5 or fewer)\n");
  std::printf("editing a 24-character name: %+.1f natives per frame (%s)\n",
              editing.frame.natives - named.frame.natives, stillEditing ? "edited throughout" : "editing ended early");
  return 0;
}
