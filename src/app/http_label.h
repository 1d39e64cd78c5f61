#pragma once
// THTTPLabel: a label that highlights under the pointer and opens its Url in
// the browser when clicked.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/ui/handles.h"
#include "app/ui/window.h"

namespace klipora {

class Tooltip;

// A colour: an RGB value, or a system colour index with the top bit set.
using TColor = std::uint32_t;
constexpr TColor systemColor(int index) { return 0x80000000u | static_cast<TColor>(index); }
COLORREF colorToRGB(TColor color);

using TFontStyles = unsigned;
inline constexpr TFontStyles fsBold = 1;
inline constexpr TFontStyles fsItalic = 2;
inline constexpr TFontStyles fsUnderline = 4;
inline constexpr TFontStyles fsStrikeOut = 8;

class THTTPLabel : public ui::Window {
 public:
  using TNotifyEvent = std::function<void(THTTPLabel&)>;

  THTTPLabel(HWND parent, int left, int top, int width, int height, const std::string& caption);
  ~THTTPLabel() override;

  bool HighLightOnBlankURL() const { return highLightOnBlankUrl_; }
  void setHighLightOnBlankURL(bool value) { highLightOnBlankUrl_ = value; }
  const std::string& Url() const { return url_; }
  void setUrl(const std::string& url);
  TColor BGColorNormal() const { return bgColorNormal_; }
  void setBGColorNormal(TColor value) { change(bgColorNormal_, value); }
  TColor BGColorHighlight() const { return bgColorHighlight_; }
  void setBGColorHighlight(TColor value) { change(bgColorHighlight_, value); }
  TColor FontColorNormal() const { return fontColorNormal_; }
  void setFontColorNormal(TColor value) { change(fontColorNormal_, value); }
  TColor FontColHighlightFocused() const { return fontColHighlightFocused_; }
  void setFontColHighlightFocused(TColor value) { change(fontColHighlightFocused_, value); }
  TColor FontColHighlightNoneFocused() const { return fontColHighlightNoneFocused_; }
  void setFontColHighlightNoneFocused(TColor value) { change(fontColHighlightNoneFocused_, value); }
  TFontStyles FontStyleNormal() const { return fontStyleNormal_; }
  void setFontStyleNormal(TFontStyles value) { change(fontStyleNormal_, value); }
  TFontStyles FontStyleHighlightFocused() const { return fontStyleHighlightFocused_; }
  void setFontStyleHighlightFocused(TFontStyles value) {
    change(fontStyleHighlightFocused_, value);
  }
  TFontStyles FontStyleHighlightNoneFocused() const { return fontStyleHighlightNoneFocused_; }
  void setFontStyleHighlightNoneFocused(TFontStyles value) {
    change(fontStyleHighlightNoneFocused_, value);
  }
  bool ShowUrlAsHint() const { return showUrlAsHint_; }
  void setShowUrlAsHint(bool value);
  bool PlaySoundOnFocus() const { return playSoundOnFocus_; }
  void setPlaySoundOnFocus(bool value) { playSoundOnFocus_ = value; }
  const std::string& Hint() const { return hint_; }
  void setHint(const std::string& hint);
  bool ShowHint() const { return showHint_; }
  void setShowHint(bool value);
  void setCaption(const std::string& caption);
  // The font the styles are applied to (normally the form's).
  void setBaseFont(HFONT font);

  // Appearance now in use, and whether the pointer is over the label.
  COLORREF currentTextColor() const { return colorToRGB(textColor_); }
  COLORREF currentBackground() const { return colorToRGB(background_); }
  TFontStyles currentStyle() const { return style_; }
  bool mouseOver() const { return mouseOver_; }
  HWND formHandle() const;

  // What the pointer does; public so forms and tests can drive them.
  void mouseEnter();
  void mouseLeave();
  void click();

  TNotifyEvent OnGetFocus, OnLooseFocus, OnGetFocusWindowActive, OnLooseFocusWindowActive,
      OnGetFocusWindowInActive, OnLooseFocusWindowInActive, OnClick;

 protected:
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  template <typename T>
  void change(T& field, T value) {
    if (field == value) return;
    field = value;
    refreshAppearance();
  }
  bool highlights() const { return !url_.empty() || highLightOnBlankUrl_; }
  bool formActive() const;
  void playFocusSound() const;
  void refreshAppearance();
  void applyAppearance(TColor text, TFontStyles style, TColor background);
  void paint();
  static void fire(const TNotifyEvent& event, THTTPLabel& label);

  bool highLightOnBlankUrl_ = false;
  std::string url_;
  TColor bgColorNormal_ = systemColor(COLOR_BACKGROUND);
  TColor bgColorHighlight_ = systemColor(COLOR_HIGHLIGHT);
  TColor fontColorNormal_ = systemColor(COLOR_CAPTIONTEXT);
  TColor fontColHighlightFocused_ = systemColor(COLOR_HIGHLIGHTTEXT);
  TColor fontColHighlightNoneFocused_ = systemColor(COLOR_HIGHLIGHT);
  TFontStyles fontStyleNormal_ = 0;
  TFontStyles fontStyleHighlightFocused_ = fsBold | fsUnderline;
  TFontStyles fontStyleHighlightNoneFocused_ = fsUnderline;
  bool showUrlAsHint_ = false;
  bool playSoundOnFocus_ = true;
  std::string hint_;
  bool showHint_ = false;

  bool mouseOver_ = false;
  bool pressed_ = false;
  TColor textColor_ = fontColorNormal_;
  TColor background_ = bgColorNormal_;
  TFontStyles style_ = 0;
  HFONT baseFont_ = nullptr;
  ui::FontHandle styledFont_;
  std::unique_ptr<Tooltip> tooltip_;
};

}  // namespace klipora
