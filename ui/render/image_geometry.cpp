#include "render/image_geometry.h"

#include <algorithm>
#include <cmath>

namespace Orvik {

std::array<NineGridPiece, 9> NineGridPieces(CRect d, PixelBox s, NineGridMargins m) {
    const int middleWidth = d.right - d.left - m.left - m.right;
    const int middleHeight = d.bottom - d.top - m.top - m.bottom;
    const int sourceMiddleWidth = s.width - m.left - m.right;
    const int sourceMiddleHeight = s.height - m.top - m.bottom;
    const int sourceRight = s.x + s.width - m.right;
    const int sourceBottom = s.y + s.height - m.bottom;
    return {{
        {{d.left, d.top, m.left, m.top}, {s.x, s.y, m.left, m.top}},
        {{d.left, d.top + m.top, m.left, middleHeight}, {s.x, s.y + m.top, m.left, sourceMiddleHeight}},
        {{d.left, d.bottom - m.bottom, m.left, m.bottom}, {s.x, sourceBottom, m.left, m.bottom}},
        {{d.left + m.left, d.top, middleWidth, m.top}, {s.x + m.left, s.y, sourceMiddleWidth, m.top}},
        {{d.right - m.right, d.top, m.right, m.top}, {sourceRight, s.y, m.right, m.top}},
        {{d.right - m.right, d.top + m.top, m.right, middleHeight},
         {sourceRight, s.y + m.top, m.right, sourceMiddleHeight}},
        {{d.right - m.right, d.bottom - m.bottom, m.right, m.bottom}, {sourceRight, sourceBottom, m.right, m.bottom}},
        {{d.left + m.left, d.bottom - m.bottom, middleWidth, m.bottom},
         {s.x + m.left, sourceBottom, sourceMiddleWidth, m.bottom}},
        {{d.left + m.left, d.top + m.top, middleWidth, middleHeight},
         {s.x + m.left, s.y + m.top, sourceMiddleWidth, sourceMiddleHeight}},
    }};
}

CRect FitImageInBox(int w, int h, CRect box) {
    const int bw = box.right - box.left;
    const int bh = box.bottom - box.top;
    // A box of negative size would let a zero dimension reach the divisions below.
    const bool scalable = w > 0 && h > 0;
    if (scalable && w > bw && h > bh) {
        if (static_cast<double>(w) / h > static_cast<double>(bw) / bh) {
            h = bw * h / w;
            w = bw;
        } else {
            w = bh * w / h;
            h = bh;
        }
    } else if (scalable && w > bw && h < bh) {
        h = bw * h / w;
        w = bw;
    } else if (scalable && w < bw && h > bh) {
        w = bh * w / h;
        h = bh;
    }
    const int left = box.left + (bw - w) / 2;
    const int top = box.top + (bh - h) / 2;
    return {left, top, left + w, top + h};
}

CPoint ContentOrigin(int width, int height, int contentWidth, int contentHeight, unsigned horizontal,
                     unsigned vertical) {
    CPoint origin;
    if (horizontal == kAlignCenter) {
        origin.x = (width - contentWidth) / 2;
    } else if (horizontal == kAlignRight) {
        origin.x = width - contentWidth;
    }
    if (vertical == kAlignVCenter) {
        origin.y = (height - contentHeight) / 2;
    } else if (vertical == kAlignBottom) {
        origin.y = height - contentHeight;
    }
    return origin;
}

CPoint ContentOriginInBox(CRect box, int contentWidth, int contentHeight, unsigned horizontal, unsigned vertical) {
    const CPoint offset =
        ContentOrigin(box.right - box.left, box.bottom - box.top, contentWidth, contentHeight, horizontal, vertical);
    return {box.left + offset.x, box.top + offset.y + 2};
}

void RotateAbout(float& x, float& y, float degrees, float cx, float cy) {
    const double radians = degrees * 3.1415926 / 180.0;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    const double dx = x - cx;
    const double dy = y - cy;
    x = static_cast<float>(dx * c - dy * s + cx);
    y = static_cast<float>(dy * c + dx * s + cy);
}

CornerRadii RoundedCornerRadii(float width, float height, float divisor) {
    CornerRadii radii{width / divisor / 2, height / divisor / 2};
    if (std::fabs(radii.x - radii.y) > 10) {
        radii.x = radii.y = std::min(radii.x, radii.y);
    }
    return radii;
}

}  // namespace Orvik
