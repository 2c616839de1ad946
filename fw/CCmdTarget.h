// Objects that receive messages through a static message table per class.
#pragma once

#include "Platform.h"

class CCmdTarget;

// A table entry's handler: unpacks the message and calls the member.
typedef LRESULT (*AFX_PMSG)(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;  // notification code, for WM_COMMAND
    UINT nID;    // control or command id, for WM_COMMAND
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* pBaseMap;
    const AFX_MSGMAP_ENTRY* lpEntries;  // ends with an entry whose pfn is null
};

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // The entry for a message in this class's table or its bases', or null.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const;

    // Routes a command (WM_COMMAND's code and id) through the tables;
    // true when a handler took it.
    bool OnCmdMsg(UINT nCode, UINT nID);

    static const AFX_MSGMAP* GetThisMessageMap();

protected:
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

#define DECLARE_MESSAGE_MAP()                          \
protected:                                             \
    static const AFX_MSGMAP* GetThisMessageMap();      \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                 \
    const AFX_MSGMAP* theClass::GetMessageMap() const                          \
    {                                                                          \
        return GetThisMessageMap();                                            \
    }                                                                          \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                            \
    {                                                                          \
        typedef theClass ThisClass;                                            \
        static_cast<void>(sizeof(ThisClass)); /* unused in an empty table */  \
        typedef baseClass TheBaseClass;                                        \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                      \
            { 0, 0, 0, nullptr }                                               \
        };                                                                     \
        static const AFX_MSGMAP messageMap = { TheBaseClass::GetThisMessageMap(), entries }; \
        return &messageMap;                                                    \
    }

#define AFX_THIS(p) static_cast<ThisClass*>(p)

#define ON_COMMAND(id, memberFxn)                                              \
    { WM_COMMAND, 0, static_cast<UINT>(id),                                    \
      [](CCmdTarget* p, WPARAM, LPARAM) -> LRESULT { AFX_THIS(p)->memberFxn(); return 0; } },

#define ON_CONTROL(code, id, memberFxn)                                        \
    { WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id),              \
      [](CCmdTarget* p, WPARAM, LPARAM) -> LRESULT { AFX_THIS(p)->memberFxn(); return 0; } },

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)

#define ON_WM_SYSCOMMAND()                                                     \
    { WM_SYSCOMMAND, 0, 0, [](CCmdTarget* p, WPARAM w, LPARAM l) -> LRESULT {  \
          AFX_THIS(p)->OnSysCommand(static_cast<UINT>(w), l); return 0; } },

#define ON_WM_PAINT()                                                          \
    { WM_PAINT, 0, 0, [](CCmdTarget* p, WPARAM, LPARAM) -> LRESULT {           \
          AFX_THIS(p)->OnPaint(); return 0; } },

#define ON_WM_QUERYDRAGICON()                                                  \
    { WM_QUERYDRAGICON, 0, 0, [](CCmdTarget* p, WPARAM, LPARAM) -> LRESULT {   \
          return reinterpret_cast<LRESULT>(AFX_THIS(p)->OnQueryDragIcon()); } },
