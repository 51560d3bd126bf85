// Message maps: a static table per class that binds window messages and commands to member
// functions, chained to the base class's table. Dispatch walks the chain from the most derived
// class, so a derived entry hides the base entry for the same message.
#pragma once

#include <windows.h>

class CCmdTarget;
class CDC;
typedef void (CCmdTarget::*AFX_PMSG)();

// How a handler's arguments and result are taken from the message.
enum AfxSig {
    AfxSig_end = 0,
    AfxSig_vv,     // void ()                       commands, WM_PAINT
    AfxSig_bD,     // BOOL (CDC*)                   WM_ERASEBKGND
    AfxSig_hv,     // HCURSOR ()                    WM_QUERYDRAGICON
    AfxSig_vOWNER, // void (int, LPDRAWITEMSTRUCT)  WM_DRAWITEM
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage; // window message, or WM_COMMAND
    UINT nCode;    // notification code for WM_COMMAND
    UINT nID;      // control or command id for WM_COMMAND
    UINT nSig;     // AfxSig
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                              \
        [[maybe_unused]] typedef theClass ThisClass;                                               \
        typedef baseClass TheBaseClass;                                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    { 0, 0, 0, AfxSig_end, (AFX_PMSG)0 }                                                           \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};  \
    return &messageMap;                                                                            \
    }

// Every handler is stored as an AFX_PMSG and called back as the type its AfxSig names. Member
// pointers of every signature have one size and layout, so a union carries one across.
template <class PMF> union AfxPmfCast {
    static_assert(sizeof(PMF) == sizeof(AFX_PMSG), "member pointers differ in size");
    PMF pmf;
    AFX_PMSG pfn;
};
template <class PMF> inline AFX_PMSG AfxEraseHandler(PMF pmf) {
    AfxPmfCast<PMF> u;
    u.pmf = pmf;
    return u.pfn;
}
template <class PMF> inline PMF AfxRestoreHandler(AFX_PMSG pfn) {
    AfxPmfCast<PMF> u;
    u.pfn = pfn;
    return u.pmf;
}

// The static_cast checks the handler's signature against the entry's before it is erased.
#define AFX_MSG_CAST(type, pfn) AfxEraseHandler<type>(static_cast<type>(pfn))

#define ON_COMMAND(id, memberFxn)                                                                  \
    {WM_COMMAND, 0, (UINT)(id), AfxSig_vv, AFX_MSG_CAST(void(CCmdTarget::*)(), &memberFxn)},
#define ON_BN_CLICKED(id, memberFxn)                                                               \
    {WM_COMMAND, BN_CLICKED, (UINT)(id), AfxSig_vv,                                                \
     AFX_MSG_CAST(void(CCmdTarget::*)(), &ThisClass::memberFxn)},
#define ON_WM_PAINT()                                                                              \
    {WM_PAINT, 0, 0, AfxSig_vv, AFX_MSG_CAST(void(CCmdTarget::*)(), &ThisClass::OnPaint)},
#define ON_WM_ERASEBKGND()                                                                         \
    {WM_ERASEBKGND, 0, 0, AfxSig_bD,                                                               \
     AFX_MSG_CAST(BOOL(CCmdTarget::*)(CDC*), &ThisClass::OnEraseBkgnd)},
#define ON_WM_QUERYDRAGICON()                                                                      \
    {WM_QUERYDRAGICON, 0, 0, AfxSig_hv,                                                            \
     AFX_MSG_CAST(HCURSOR(CCmdTarget::*)(), &ThisClass::OnQueryDragIcon)},
#define ON_WM_DRAWITEM()                                                                           \
    {WM_DRAWITEM, 0, 0, AfxSig_vOWNER,                                                             \
     AFX_MSG_CAST(void(CCmdTarget::*)(int, LPDRAWITEMSTRUCT), &ThisClass::OnDrawItem)},

// Base of every class that has a message map: windows and the application.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Runs the handler bound to command nID with notification nCode; FALSE when none is bound.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // First entry for the message (and, for WM_COMMAND, code and id) along the chain of maps.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const;
};
