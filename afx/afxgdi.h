// Drawing of the framework layer: device contexts and the GDI objects drawn with them.
// Each object owns its handle and releases it in its destructor.
#pragma once

#include <windows.h>

class CWnd;

class CGdiObject {
public:
    CGdiObject() : m_hObject(NULL) {}
    ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    // Takes ownership of hObject.
    void Attach(HGDIOBJ hObject);
    void DeleteObject();

    HGDIOBJ m_hObject;
};

class CFont : public CGdiObject {};

class CBrush : public CGdiObject {
public:
    // A solid brush of that colour.
    explicit CBrush(COLORREF crColor) { Attach(::CreateSolidBrush(crColor)); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

// Wraps a device context that somebody else owns (FromHandle) or that a subclass owns.
class CDC {
public:
    CDC() : m_hDC(NULL) {}
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // A temporary wrapper, valid for the handler that asked for it.
    static CDC* FromHandle(HDC hDC);

    // Returns the object that was selected before, to be selected back.
    HGDIOBJ SelectObject(CGdiObject* pObject) { return ::SelectObject(m_hDC, pObject->m_hObject); }
    HGDIOBJ SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }
    COLORREF SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
    int SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
    BOOL TextOut(int x, int y, LPCSTR lpszString, int nCount) {
        return ::TextOutA(m_hDC, x, y, lpszString, nCount);
    }
    BOOL TextOut(int x, int y, LPCSTR lpszString);
    void FillRect(LPCRECT lpRect, CBrush* pBrush) { ::FillRect(m_hDC, lpRect, *pBrush); }
    SIZE GetTextExtent(LPCSTR lpszString, int nCount) const;
    BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }

    HDC m_hDC;
};

// BeginPaint in the constructor, EndPaint in the destructor.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

private:
    HWND m_hWnd;
};
