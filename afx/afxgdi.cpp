#include "afxgdi.h"

#include "afxwin.h"

void CGdiObject::Attach(HGDIOBJ hObject) {
    DeleteObject();
    m_hObject = hObject;
}

void CGdiObject::DeleteObject() {
    if (m_hObject != NULL)
        ::DeleteObject(m_hObject);
    m_hObject = NULL;
}

CDC* CDC::FromHandle(HDC hDC) {
    // Handlers nest at most a few deep (a draw request inside a paint), so a small ring of
    // wrappers is enough; a wrapper owns nothing.
    static CDC ring[4];
    static int next;
    CDC* pDC = &ring[next];
    next = (next + 1) % 4;
    pDC->m_hDC = hDC;
    return pDC;
}

BOOL CDC::TextOut(int x, int y, LPCSTR lpszString) {
    return ::TextOutA(m_hDC, x, y, lpszString, lstrlenA(lpszString));
}

SIZE CDC::GetTextExtent(LPCSTR lpszString, int nCount) const {
    SIZE size = {0, 0};
    ::GetTextExtentPointA(m_hDC, lpszString, nCount, &size);
    return size;
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) {
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
}
