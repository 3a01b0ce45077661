// The real Wardrobe.asi loaded by the simulated host executable of this test's build:
// a whole wardrobe session driven by the pad, and the idle animations of a fresh
// process.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/sim.h"
#include "support/host_run.h"

namespace {

std::vector<long long> Numbers(const JsonValue& array) {
  std::vector<long long> numbers;
  for (size_t i = 0; i < array.Size(); ++i) numbers.push_back(array[static_cast<int>(i)].Int());
  return numbers;
}

// Nothing else in the plug-in draws from its generator, so a fresh process plays the
// same five animations first, one per menu frame while each frame is longer than the
// idle interval.
TEST(MenuPluginRun, FirstIdleAnimationsOfAFreshProcess) {
  const HostRun run =
      RunHost(ThisBuild(), LoadPlugin() + "frame-time 21\nat-site 2\nframes 2\n" + Press(23) + "frames 5\n",
              FreshWorkDir("idle_animations"));
  ASSERT_TRUE(run.RanToEnd()) << run.traceText;
  std::vector<std::string> played;
  for (const std::vector<std::string>& args : run.ArgsOf("PlayPedAnim")) {
    ASSERT_EQ(args.size(), 9u);
    EXPECT_EQ(args[2], "clothing");
    played.push_back(args[1]);
  }
  EXPECT_EQ(played, (std::vector<std::string>{"examine legs", "examine shoes", "tie_adjust_stand", "examine shirt",
                                              "tie_adjust_stand"}));
}

// Rows of the default player (sim/README.md) once the head is changed: Head 0, ...,
// Hats 13, Glasses 14, Outfit 15, Save Outfit 16, Name Outfit 17, Delete Outfit 18, View 19,
// Accept 20, Cancel 21.
TEST(MenuPluginRun, WholeSessionWithThePad) {
  const std::string scenario = LoadPlugin() + "using-pad 1\nat-site 2\nframes 2\nstate\n" +  // state 0: the look before
                               Press(23) + "frames 1\n" +                                    // open, first menu frame
                               Press(67) +                                                   // Head: next drawable
                               Press(65, 6) + Press(77) + "frames 1\nstate\n" +  // Save Outfit; state 1: saved look
                               Press(65, 3) + Press(67) +                        // Hats: a hat
                               Press(64, 2) + Press(77) + "frames 1\nstate\n" +  // Outfit: apply; state 2
                               Press(64, 6) + Press(77) + "frames 1\nstate\n" +  // Cancel; state 3
                               Press(23) + "frames 1\n" +                        // reopen on Cancel
                               Press(64) + Press(67) + Press(65, 2) +
                               "frames 1\nstate\n" +              // Head again; to Accept; state 4
                               Press(77) + "frames 1\nstate\n" +  // Accept; state 5
                               "frames 3\n";
  const std::string workDir = FreshWorkDir("whole_session");
  // Some 60 frames, each traced native by native: in the emulated guest on a busy
  // machine that can take more than two minutes.
  const HostRun run = RunHost(ThisBuild(), scenario, workDir, 600000);
  ASSERT_TRUE(run.RanToEnd()) << run.traceText;
  std::vector<const JsonValue*> states = run.Events("state");
  ASSERT_EQ(states.size(), 6u);
  const JsonValue& before = *states[0];
  const JsonValue& saved = *states[1];
  const JsonValue& applied = *states[2];
  const JsonValue& cancelled = *states[3];
  const JsonValue& previewed = *states[4];
  const JsonValue& accepted = *states[5];

  // The save wrote the episode's file: one section of 44 keys.
  std::string file = ReadTextFile(workDir + "/WardrobeOutfits.ini");
  int lines = 0;
  for (char c : file) lines += c == '\n';
  EXPECT_EQ(lines, 45) << file;
  EXPECT_EQ(file.rfind("[Outfit0]", 0), 0u) << file;

  EXPECT_EQ(Numbers(before["drawables"])[0], 0);
  EXPECT_EQ(Numbers(saved["drawables"])[0], 1);
  EXPECT_FALSE(saved["control"].Bool());
  // Applying the saved outfit took the hat off again.
  EXPECT_EQ(Numbers(applied["drawables"]), Numbers(saved["drawables"]));
  EXPECT_EQ(Numbers(applied["props"]), Numbers(saved["props"]));
  // Cancel: the look from before the menu, control back.
  EXPECT_EQ(Numbers(cancelled["drawables"]), Numbers(before["drawables"]));
  EXPECT_EQ(Numbers(cancelled["textures"]), Numbers(before["textures"]));
  EXPECT_EQ(Numbers(cancelled["props"]), Numbers(before["props"]));
  EXPECT_TRUE(cancelled["control"].Bool());
  // Accept: the previewed look stays, control back.
  EXPECT_EQ(Numbers(previewed["drawables"])[0], 1);
  EXPECT_FALSE(previewed["control"].Bool());
  EXPECT_EQ(Numbers(accepted["drawables"]), Numbers(previewed["drawables"]));
  EXPECT_TRUE(accepted["control"].Bool());

  // The preview reached the host's camera while the menu ran, and only then: not on
  // the frames from the one after Cancel to the reopening, nor after Accept.
  std::vector<const JsonValue*> cameras = run.Events("camera");
  ASSERT_FALSE(cameras.empty());
  for (const JsonValue* camera : cameras) {
    const long long frame = (*camera)["frame"].Int();
    EXPECT_EQ((*camera)["fov"].Num(), 55.0);
    EXPECT_LT(frame, accepted["frame"].Int());
    EXPECT_FALSE(frame >= cancelled["frame"].Int() && frame <= cancelled["frame"].Int() + 2) << camera->Dump();
  }
  // Once the player has turned to the site's heading (270: facing +x), the camera
  // stands 2.1 in front and 0.1 below.
  const JsonValue& last = *cameras.back();
  const sim::SitePosition& site = sim::WardrobeSitePositions[2];
  EXPECT_NEAR(last["matrix"][12].Num(), site.x + 2.1, 1e-3);
  EXPECT_NEAR(last["matrix"][13].Num(), site.y, 1e-3);
  EXPECT_NEAR(last["matrix"][14].Num(), site.z - 0.1, 1e-3);
}

// Keys typed while another program is in front (a chat window over the game) do
// nothing, and one still held when the game comes back acts only once pressed again.
// Head is row 0 and has two drawables: each Right (D) steps it.
TEST(MenuPluginRun, KeysTypedIntoAnotherProgramDoNothing) {
  const std::string scenario = LoadPlugin() + "at-site 2\nframes 2\n" + Press(23) + "frames 1\n" +
                               "press-key 0x44\nframes 1\nstate\n" +  // the game in front: Head 1
                               "focus other\npress-key 0x44\npress-key 0x53\npress-key 0x45\nframes 1\n" +
                               "key 0x44 down\nframes 2\nstate\n" +                         // nothing moved
                               "focus game\nframes 2\nstate\n" +                            // D still held: nothing
                               "key 0x44 up\nframes 1\npress-key 0x44\nframes 1\nstate\n";  // pressed again
  const HostRun run = RunHost(ThisBuild(), scenario, FreshWorkDir("keys_elsewhere"));
  ASSERT_TRUE(run.RanToEnd()) << run.traceText;
  std::vector<const JsonValue*> states = run.Events("state");
  ASSERT_EQ(states.size(), 4u);
  EXPECT_EQ(Numbers((*states[0])["drawables"])[0], 1) << "D with the game in front";
  EXPECT_EQ(Numbers((*states[1])["drawables"]), Numbers((*states[0])["drawables"]));
  EXPECT_EQ(Numbers((*states[2])["drawables"]), Numbers((*states[0])["drawables"]));
  EXPECT_NE(Numbers((*states[3])["drawables"])[0], 1) << "D released and pressed in the game";
  EXPECT_FALSE((*states[2])["control"].Bool()) << "the menu is still open: no Accept or Cancel";
  const long long away = (*states[0])["frame"].Int();
  const long long back = (*states[2])["frame"].Int();
  for (long long frame = away + 1; frame <= back; ++frame) {
    for (const std::string& name : run.NativeNames(frame)) EXPECT_NE(name, "PlayFrontendSound") << "frame " << frame;
  }
}

// Presses a key for one frame and lets the plug-in act on it (capitals with Shift).
std::string TypeKeys(const std::string& text) {
  std::string scenario;
  for (char c : text) {
    const bool capital = c >= 'A' && c <= 'Z';
    const int key = c == ' ' ? 0x20 : (c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    if (capital) scenario += "key 0x10 down\n";
    scenario += "press-key " + std::to_string(key) + "\nframes 1\n";
    if (capital) scenario += "key 0x10 up\n";
  }
  return scenario;
}

// The real plug-in, both devices: a name typed on the keyboard and kept with Enter,
// then changed with the pad and kept with Accept; the file holds it after the outfit's
// values, and the screens show it on both rows.
TEST(MenuPluginRun, NamingWithTheKeyboardAndThePad) {
  const std::string scenario = LoadPlugin() + "frame-time 0.1\nusing-pad 1\nat-site 2\nframes 2\n" + Press(23) +
                               "frames 1\n" + Press(65, 6) + Press(77) + "frames 25\n" +  // Save Outfit
                               Press(64) +                                                // Name Outfit
                               "using-pad 0\npress-key 69\nframes 1\n" + TypeKeys("Beach Day") +
                               "frames 1\nscreen typing.png\n" +
                               "press-key 13\nframes 2\nscreen typed.png\nframes 25\n" +          // Enter keeps it
                               "using-pad 1\n" + Press(77) + Press(65) + Press(67) + Press(77) +  // "Beach DazA"
                               "frames 2\nscreen padded.png\n";
  const std::string workDir = FreshWorkDir("naming");
  const HostRun run = RunHost(ThisBuild(), scenario, workDir, 600000);
  ASSERT_TRUE(run.RanToEnd()) << run.traceText;
  std::vector<const JsonValue*> screens = run.Events("screen");
  ASSERT_EQ(screens.size(), 3u);
  const std::string typing = (*screens[0])["transcript"].Str();
  const std::string typed = (*screens[1])["transcript"].Str();
  const std::string padded = (*screens[2])["transcript"].Str();
  EXPECT_NE(typing.find("> Name Outfit | Beach Day_"), std::string::npos) << typing;
  EXPECT_NE(typed.find("Outfit | 1/1 Beach Day"), std::string::npos) << typed;
  EXPECT_NE(typed.find("Outfit Named"), std::string::npos) << typed;
  EXPECT_NE(padded.find("Outfit | 1/1 Beach DazA"), std::string::npos) << padded;

  const std::string file = ReadTextFile(workDir + "/WardrobeOutfits.ini");
  int lines = 0;
  for (char c : file) lines += c == '\n';
  EXPECT_EQ(lines, 46) << file;
  EXPECT_EQ(file.rfind("[Outfit0]\r\nDrawable0=", 0), 0u) << file;
  // The name is the last line, right after the last of the 44 values.
  const std::string end = "\r\nName=Beach DazA\r\n";
  ASSERT_GE(file.size(), end.size());
  EXPECT_EQ(file.substr(file.size() - end.size()), end) << file;
  const size_t lastValue = file.rfind("\r\n", file.size() - end.size() - 1);
  EXPECT_EQ(file.compare(lastValue + 2, 9, "Texture9="), 0) << file;
}

}  // namespace
