// SPDX-License-Identifier: Apache-2.0
// A rectangle in pixels, right and bottom exclusive.
#ifndef KELM_FRAMEWORK_CRECT_H
#define KELM_FRAMEWORK_CRECT_H

class CRect
{
public:
    CRect() = default;
    CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const CRect& other) const
    {
        return left == other.left && top == other.top && right == other.right &&
               bottom == other.bottom;
    }
    bool operator!=(const CRect& other) const { return !(*this == other); }

    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

#endif
