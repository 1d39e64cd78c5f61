#include "app/http_label.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "app/ui/handles.h"

namespace klipora {
namespace {

class HttpLabelTest : public testing::Test {
 protected:
  HttpLabelTest() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KliporaTestForm";
    RegisterClassW(&wc);
    form_.reset(CreateWindowExW(0, wc.lpszClassName, L"Form", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                0, 300, 200, nullptr, nullptr, wc.hInstance, nullptr));
    label_ = std::make_unique<THTTPLabel>(form_.get(), 10, 10, 200, 20, "Klipora im Netz");
    // As the program's forms set every instance up.
    label_->setBGColorNormal(systemColor(COLOR_WINDOW));
    label_->setFontColorNormal(systemColor(COLOR_BTNTEXT));
    label_->setFontStyleHighlightFocused(fsUnderline);
    label_->setPlaySoundOnFocus(false);
    using Event = THTTPLabel::TNotifyEvent THTTPLabel::*;
    const std::pair<Event, const char*> events[] = {
        {&THTTPLabel::OnGetFocus, "GetFocus"},
        {&THTTPLabel::OnLooseFocus, "LooseFocus"},
        {&THTTPLabel::OnGetFocusWindowActive, "GetFocusActive"},
        {&THTTPLabel::OnLooseFocusWindowActive, "LooseFocusActive"},
        {&THTTPLabel::OnGetFocusWindowInActive, "GetFocusInActive"},
        {&THTTPLabel::OnLooseFocusWindowInActive, "LooseFocusInActive"},
    };
    for (const auto& [event, name] : events) {
      (*label_).*event = [this, name = std::string(name)](THTTPLabel&) { fired_.push_back(name); };
    }
  }

  ui::WindowHandle form_;
  std::unique_ptr<THTTPLabel> label_;
  std::vector<std::string> fired_;
};

TEST_F(HttpLabelTest, DefaultsAtConstruction) {
  THTTPLabel plain(form_.get(), 0, 40, 100, 20, "x");
  EXPECT_FALSE(plain.HighLightOnBlankURL());
  EXPECT_EQ(plain.Url(), "");
  EXPECT_EQ(plain.BGColorNormal(), systemColor(COLOR_BACKGROUND));
  EXPECT_EQ(plain.BGColorHighlight(), systemColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(plain.FontColorNormal(), systemColor(COLOR_CAPTIONTEXT));
  EXPECT_EQ(plain.FontColHighlightFocused(), systemColor(COLOR_HIGHLIGHTTEXT));
  EXPECT_EQ(plain.FontColHighlightNoneFocused(), systemColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(plain.FontStyleNormal(), 0u);
  EXPECT_EQ(plain.FontStyleHighlightFocused(), fsBold | fsUnderline);
  EXPECT_EQ(plain.FontStyleHighlightNoneFocused(), fsUnderline);
  EXPECT_FALSE(plain.ShowUrlAsHint());
  EXPECT_TRUE(plain.PlaySoundOnFocus());
  EXPECT_EQ(plain.formHandle(), form_.get());
}

TEST_F(HttpLabelTest, HoverHighlightsByTheFormsActiveStateAndFiresEventsInOrder) {
  label_->setUrl("https://example.org/");
  SetActiveWindow(form_.get());
  ASSERT_EQ(GetActiveWindow(), form_.get());
  label_->mouseEnter();
  EXPECT_TRUE(label_->mouseOver());
  EXPECT_EQ(label_->currentTextColor(), GetSysColor(COLOR_HIGHLIGHTTEXT));
  EXPECT_EQ(label_->currentBackground(), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(label_->currentStyle(), fsUnderline);
  label_->mouseLeave();
  EXPECT_FALSE(label_->mouseOver());
  EXPECT_EQ(label_->currentTextColor(), GetSysColor(COLOR_BTNTEXT));
  EXPECT_EQ(label_->currentBackground(), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(label_->currentStyle(), 0u);
  EXPECT_EQ(fired_, (std::vector<std::string>{"GetFocusActive", "GetFocus", "LooseFocusActive",
                                              "LooseFocus"}));

  fired_.clear();
  SetActiveWindow(nullptr);
  ASSERT_NE(GetActiveWindow(), form_.get());
  label_->mouseEnter();
  // Not focused: the unfocused colour and style, the background stays.
  EXPECT_EQ(label_->currentTextColor(), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(label_->currentBackground(), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(label_->currentStyle(), fsUnderline);
  label_->mouseLeave();
  EXPECT_EQ(fired_, (std::vector<std::string>{"GetFocusInActive", "GetFocus", "LooseFocusInActive",
                                              "LooseFocus"}));
}

TEST_F(HttpLabelTest, WithoutUrlHighlightsOnlyWhenAskedTo) {
  SetActiveWindow(form_.get());
  label_->mouseEnter();
  EXPECT_EQ(label_->currentTextColor(), GetSysColor(COLOR_BTNTEXT));
  EXPECT_EQ(label_->currentStyle(), 0u);
  label_->mouseLeave();
  label_->setHighLightOnBlankURL(true);
  label_->mouseEnter();
  EXPECT_EQ(label_->currentTextColor(), GetSysColor(COLOR_HIGHLIGHTTEXT));
}

TEST_F(HttpLabelTest, UrlBecomesTheHintWhenAsked) {
  label_->setShowUrlAsHint(true);
  EXPECT_TRUE(label_->ShowHint());
  label_->setUrl("https://example.org/a");
  EXPECT_EQ(label_->Hint(), "https://example.org/a");
  label_->setShowUrlAsHint(false);
  EXPECT_FALSE(label_->ShowHint());
  label_->setUrl("https://example.org/b");
  EXPECT_EQ(label_->Hint(), "https://example.org/a");
}

}  // namespace
}  // namespace klipora
