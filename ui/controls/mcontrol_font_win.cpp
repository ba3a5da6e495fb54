#include "controls/mcontrol_font.h"

#include <cwchar>

#include "core/geometry.h"
#include "core/manager.h"
#include "core/paint_manager.h"

namespace Orvik {

namespace {

constexpr int kBoldWeight = 700;

Gdiplus::StringAlignment AlignmentOf(unsigned value, unsigned centre, unsigned end) {
    if (value == centre) {
        return Gdiplus::StringAlignmentCenter;
    }
    return value == end ? Gdiplus::StringAlignmentFar : Gdiplus::StringAlignmentNear;
}

}  // namespace

MControlFont::MControlFont(MObject* owner, unsigned id, CRect rect, const wchar_t* title, int visible, int enabled,
                           int response)
    : MControl(owner, id, rect, visible, enabled, response),
      title_(title != nullptr ? title : L""),
      face_(Manager::GetFontName()),
      size_(Manager::m_fontwidth) {}

// The GDI+ members go here, while the paint manager that deletes the control still
// holds GDI+.
MControlFont::~MControlFont() = default;

void MControlFont::SetTextFont(const std::wstring& face) { face_ = face; }

// Each drawing makes its brush from the colour; nothing else is kept for it.
void MControlFont::SetTextColor(Gdiplus::Color color) { color_ = color; }

int MControlFont::SetImage(UINT id, const std::wstring& type, int frames) {
    if (GetManager() == nullptr) {
        return 0;
    }
    return TakeImage(GetManager()->AddImgResInfo(id, type, frames, 1), frames);
}

int MControlFont::SetImage(const wchar_t* file, int frames) {
    if (GetManager() == nullptr) {
        return 0;
    }
    return TakeImage(GetManager()->AddImgResInfo(file, frames), frames);
}

int MControlFont::TakeImage(const ImgResInfo* info, int frames) {
    if (info == nullptr) {
        return 0;
    }
    frames_ = frames;
    image_ = info->image;
    // The cache's record: its frame width follows the first requester's count.
    frameWidth_ = info->frameWidth;
    imageHeight_ = info->height;
    ReportIfVisible();
    return 1;
}

void MControlFont::SetControlTitle(const wchar_t* title) { title_ = title != nullptr ? title : L""; }

std::wstring MControlFont::GetControlTitle() { return title_; }

void MControlFont::ReportIfVisible() {
    if (IsVisible()) {
        UpdateControl(1, 0);
    }
}

void MControlFont::SetTitle(const wchar_t* title) {
    ClearGDIFont();
    SetControlTitle(title);
    ReportIfVisible();
}

std::wstring MControlFont::GetTitle() { return GetControlTitle(); }

void MControlFont::SetAlignment(unsigned horizontal) { SetAlignment(horizontal, vAlignment_); }

void MControlFont::SetVAlignment(unsigned vertical) { SetAlignment(alignment_, vertical); }

void MControlFont::SetAlignment(unsigned horizontal, unsigned vertical) {
    if (horizontal == alignment_ && vertical == vAlignment_) {
        return;
    }
    alignment_ = horizontal;
    vAlignment_ = vertical;
    ReportIfVisible();
}

void MControlFont::GetAlignment(unsigned& horizontal, unsigned& vertical) const {
    horizontal = alignment_;
    vertical = vAlignment_;
}

void MControlFont::SetFont(const wchar_t* face, int size, Gdiplus::FontStyle style) {
    face_ = face != nullptr ? face : L"";
    size_ = size;
    style_ = style;
}

Gdiplus::FontFamily* MControlFont::GetFontFamily(const wchar_t* face) {
    if (GetManager() == nullptr) {
        return nullptr;
    }
    const Gdiplus::FontFamily* shared = GetManager()->FindTempFont(face != nullptr ? face : L"");
    family_.reset(shared != nullptr ? shared->Clone() : nullptr);
    return family_.get();
}

HFONT MControlFont::GetGDIFont() {
    if (gdiFont_) {
        return gdiFont_.Get();
    }
    LOGFONTW description = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(description), &description);
    const std::wstring face = Manager::GetFontName();
    // The face field holds 31 characters and the terminating null.
    std::wcsncpy(description.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    description.lfFaceName[LF_FACESIZE - 1] = L'\0';
    description.lfCharSet = DEFAULT_CHARSET;
    description.lfHeight = -size_;
    if (style_ & Gdiplus::FontStyleBold) {
        description.lfWeight += kBoldWeight;
    }
    description.lfItalic = (style_ & Gdiplus::FontStyleItalic) ? TRUE : FALSE;
    description.lfUnderline = (style_ & Gdiplus::FontStyleUnderline) ? TRUE : FALSE;
    gdiFont_.Reset(::CreateFontIndirectW(&description));
    return gdiFont_.Get();
}

void MControlFont::ClearGDIFont() { gdiFont_.Reset(); }

void MControlFont::DrawTitle(Gdiplus::Graphics& graphics, const Gdiplus::RectF& layout, INT formatFlags) {
    const Gdiplus::FontFamily* family = GetFontFamily(face_.c_str());
    if (family == nullptr) {
        return;
    }
    const Gdiplus::Font font(family, static_cast<Gdiplus::REAL>(ScaleTowardZero(size_, Manager::m_scale_value)),
                             style_, Gdiplus::UnitPixel);
    const Gdiplus::SolidBrush brush(color_);
    Gdiplus::StringFormat format(0, LANG_NEUTRAL);
    format.SetAlignment(AlignmentOf(alignment_, 1, 2));
    format.SetLineAlignment(AlignmentOf(vAlignment_, 4, 8));
    format.SetFormatFlags(formatFlags);
    graphics.SetTextRenderingHint(hint_);
    graphics.DrawString(title_.c_str(), static_cast<INT>(std::wcslen(title_.c_str())), &font, layout, &format,
                        &brush);
}

void MControlFont::DrawStripFrame(Gdiplus::Graphics& graphics, int index, CRect destination) {
    if (image_ == nullptr) {
        return;
    }
    graphics.DrawImage(image_, Gdiplus::Rect(destination.left, destination.top, destination.Width(),
                                             destination.Height()),
                       index * frameWidth_, 0, frameWidth_, imageHeight_, Gdiplus::UnitPixel);
}

}  // namespace Orvik
