// SPDX-License-Identifier: Apache-2.0
// Painting inside a WM_PAINT handler (OnPaint). Outside one, the device
// context is empty: GetSafeHdc() is null and drawing does nothing.
#ifndef KELM_FRAMEWORK_CPAINTDC_H
#define KELM_FRAMEWORK_CPAINTDC_H

#include "framework/dialogs/AfxWinTypes.h"

#include <memory>

class CWnd;

class CPaintDC
{
public:
    explicit CPaintDC(CWnd* window);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    // Draws the icon's large image with its top-left corner at x, y (pixels).
    BOOL DrawIcon(int x, int y, HICON icon);

    HDC m_hDC = nullptr;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

#endif
