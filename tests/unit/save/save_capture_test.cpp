#include "imaging/save/save_capture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "imaging/image_format.h"
#include "support/test_files.h"

namespace klipora::imaging {
namespace {

// Records every platform action in the order the pipeline asked for it.
class RecordingActions : public SaveActions {
 public:
  void playSound(const std::string& file) override { log.push_back("sound " + file); }
  void showSaveError(const std::string& text) override { log.push_back("error " + text); }
  void showScreenshotWindow(const std::string& label, const std::string& picture,
                            bool saved) override {
    log.push_back("window [" + label + "] [" + picture + "] " + (saved ? "saved" : "unsaved"));
  }
  std::vector<std::string> log;
};

std::unique_ptr<Bitmap> smallCapture() {
  auto bitmap = std::make_unique<Bitmap>(3, 2, 24);
  bitmap->row(0)[0] = 0xFF;
  return bitmap;
}

class SaveCaptureTest : public testing::TempDirTest {
 protected:
  TSettings settings() const {
    TSettings s;
    s.SaveType = ifBMP;
    s.SoundFile = "klick.wav";
    return s;
  }
  RecordingActions actions;
};

TEST_F(SaveCaptureTest, EmptyCaptureDoesNothingAtAll) {
  std::unique_ptr<Bitmap> none;
  TSettings s = settings();
  s.SaveToFolder = path("shots");
  SaveCapture(none, s, actions);
  EXPECT_TRUE(actions.log.empty());
  EXPECT_FALSE(std::filesystem::exists(path("shots")));
}

TEST_F(SaveCaptureTest, WithoutFolderTheCallerKeepsTheCaptureAndTheWindowIsUnsaved) {
  auto capture = smallCapture();
  SaveCapture(capture, settings(), actions);
  EXPECT_NE(capture, nullptr);
  EXPECT_EQ(actions.log, (std::vector<std::string>{"sound klick.wav", "window [] [] unsaved"}));
}

TEST_F(SaveCaptureTest, CreatesTheFolderAndWritesTheNextNumberedFile) {
  for (const std::string& folder : {path("a/b/c"), path("a/b/c") + "\\"}) {
    auto capture = smallCapture();
    TSettings s = settings();
    s.SaveToFolder = folder;
    s.LocalNum = 3;
    SaveCapture(capture, s, actions);
    EXPECT_EQ(capture, nullptr);
  }
  const std::string first = path("a/b/c") + "\\image001.bmp";
  const std::string second = path("a/b/c") + "\\image002.bmp";
  EXPECT_EQ(actions.log, (std::vector<std::string>{
                             "sound klick.wav", "window [" + first + "] [" + first + "] saved",
                             "sound klick.wav", "window [" + second + "] [" + second + "] saved"}));
  const auto bytes = get(path("a/b/c/image002.bmp"));
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(bytes->substr(0, 2), "BM");
}

TEST_F(SaveCaptureTest, AFailedWriteIsReportedReleasesTheCaptureAndOpensUnsaved) {
  put(path("taken"), "a file where the folder should be");
  auto capture = smallCapture();
  TSettings s = settings();
  s.SaveToFolder = path("taken");
  s.SoundFile.clear();
  SaveCapture(capture, s, actions);
  EXPECT_EQ(capture, nullptr);
  EXPECT_EQ(actions.log, (std::vector<std::string>{"error Konnte Datei " + path("taken") +
                                                       "\\image0001.bmp nicht speichern!",
                                                   "window [] [] unsaved"}));
  EXPECT_EQ(get(path("taken")), "a file where the folder should be");
}

TEST_F(SaveCaptureTest, UploadTargetSkipsTheLocalBranch) {
  auto capture = smallCapture();
  TSettings s = settings();
  s.SaveToFolder = path("shots");
  s.FTP = true;
  s.ShowScreenshot = false;
  SaveCapture(capture, s, actions);
  EXPECT_FALSE(std::filesystem::exists(path("shots")));
  EXPECT_EQ(actions.log, (std::vector<std::string>{"sound klick.wav"}));
}

}  // namespace
}  // namespace klipora::imaging
