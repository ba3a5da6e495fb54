#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <string>

#include "controls/mcontrol.h"
#include "core/gdi_handles.h"
#include "core/orvik_api.h"
#include "render/img_res_info.h"

namespace Orvik {

// Base of the controls that show a title or an image strip: holds the title, the
// font settings, the text colour, the alignment and the strip taken from the paint
// manager's image cache. It draws nothing itself; DrawTitle is the text recipe its
// derived controls draw with.
class ORVIK_API MControlFont : public MControl {
public:
    MControlFont(MObject* owner, unsigned id, CRect rect, const wchar_t* title, int visible, int enabled, int response);
    ~MControlFont() override;

    virtual void SetTextFont(const std::wstring& face);
    // Takes effect at the control's next redraw; asks for none.
    virtual void SetTextColor(Gdiplus::Color color);
    // The strip from the program's resource `id` of `type`, or from the skin file.
    // 0 without a paint manager or when the image does not load; the image fields
    // are then left as they were.
    virtual int SetImage(UINT id, const std::wstring& type, int frames);
    virtual int SetImage(const wchar_t* file, int frames);
    virtual void SetControlTitle(const wchar_t* title);
    virtual std::wstring GetControlTitle();

    void SetTitle(const wchar_t* title);
    std::wstring GetTitle();
    void SetAlignment(unsigned horizontal);
    void SetVAlignment(unsigned vertical);
    void SetAlignment(unsigned horizontal, unsigned vertical);
    void GetAlignment(unsigned& horizontal, unsigned& vertical) const;
    void SetFont(const wchar_t* face, int size, Gdiplus::FontStyle style);
    void SetFontStyle(Gdiplus::FontStyle style) { style_ = style; }
    Gdiplus::FontStyle GetFontStyle() const { return style_; }
    void SetFontWidth(int size) { size_ = size; }
    int GetFontWidth() const { return size_; }
    std::wstring GetTextFont() const { return face_; }
    void SetTextRenderingHint(Gdiplus::TextRenderingHint hint) { hint_ = hint; }
    // The family titles are drawn in: whatever `face` says, the paint manager hands
    // out the library-wide face. The control keeps its own copy. Null without a
    // paint manager or when that face is not installed.
    Gdiplus::FontFamily* GetFontFamily(const wchar_t* face);
    // A GDI font of the library-wide face at the unscaled size, made once.
    HFONT GetGDIFont();
    void ClearGDIFont();
    SIZE GetImageSize() const { return SIZE{frameWidth_, imageHeight_}; }
    void SetImageCount(int frames) { frames_ = frames; }
    const wchar_t* GetImagePath() const { return imagePath_.c_str(); }

protected:
    // The text recipe: the title in the library-wide face at the scaled size, the
    // control's style, colour, alignment and hint, in `layout`. Draws nothing when
    // the face is not installed.
    void DrawTitle(Gdiplus::Graphics& graphics, const Gdiplus::RectF& layout, INT formatFlags);
    // Frame `index` of the strip, stretched to `destination`. Nothing without a strip.
    void DrawStripFrame(Gdiplus::Graphics& graphics, int index, CRect destination);
    Gdiplus::Color TextColor() const { return color_; }
    Gdiplus::Image* Image() const { return image_; }
    int FrameCount() const { return frames_; }

private:
    // Shows the cached strip `info` (null: a failed load, nothing changes); 1 on success.
    int TakeImage(const ImgResInfo* info, int frames);
    void ReportIfVisible();

    std::wstring title_;
    std::wstring face_;
    std::wstring imagePath_;  // read through GetImagePath; no control here sets it
    int size_;
    Gdiplus::Color color_{0xFFFFFFFF};
    Gdiplus::FontStyle style_ = Gdiplus::FontStyleRegular;
    std::unique_ptr<Gdiplus::FontFamily> family_;
    unsigned alignment_ = 0;
    unsigned vAlignment_ = 4;
    Gdiplus::TextRenderingHint hint_ = Gdiplus::TextRenderingHintClearTypeGridFit;
    UniqueHFont gdiFont_;
    Gdiplus::Image* image_ = nullptr;  // the image cache's
    int frameWidth_ = 0;
    int imageHeight_ = 0;
    int frames_ = 4;
};

}  // namespace Orvik
