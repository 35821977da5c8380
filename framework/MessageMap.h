// Per-class message maps: tables that bind messages and button ids to member
// handlers, each chained to the map of its base class.
#pragma once

#include <windows.h>

class CWnd;

struct MessageMapEntry {
    enum Kind { End, Command, Message, VoidMessage, TimerMessage };
    using VoidHandler = void (CWnd::*)();
    using MessageHandler = LRESULT (CWnd::*)(WPARAM, LPARAM);
    using TimerHandler = void (CWnd::*)(UINT_PTR);

    Kind kind = End;
    UINT message = 0;
    UINT id = 0;
    VoidHandler onVoid = nullptr;
    MessageHandler onMessage = nullptr;
    TimerHandler onTimer = nullptr;

    static MessageMapEntry OnCommand(UINT id, VoidHandler fn)
    {
        MessageMapEntry e;
        e.kind = Command;
        e.message = WM_COMMAND;
        e.id = id;
        e.onVoid = fn;
        return e;
    }
    static MessageMapEntry OnMessage(UINT message, MessageHandler fn)
    {
        MessageMapEntry e;
        e.kind = Message;
        e.message = message;
        e.onMessage = fn;
        return e;
    }
    static MessageMapEntry OnVoidMessage(UINT message, VoidHandler fn)
    {
        MessageMapEntry e;
        e.kind = VoidMessage;
        e.message = message;
        e.onVoid = fn;
        return e;
    }
    static MessageMapEntry OnTimerMessage(TimerHandler fn)
    {
        MessageMapEntry e;
        e.kind = TimerMessage;
        e.message = WM_TIMER;
        e.onTimer = fn;
        return e;
    }
};

struct MessageMap {
    const MessageMap* (*baseMap)();
    const MessageMapEntry* entries;
};

#define DECLARE_MESSAGE_MAP()                              \
protected:                                                 \
    static const MessageMap* GetThisMessageMap();          \
    const MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                  \
    const MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const MessageMap* theClass::GetThisMessageMap()                             \
    {                                                                           \
        /* unused by a map without entries */                                   \
        using ThisClass [[maybe_unused]] = theClass;                            \
        using TheBaseClass = baseClass;                                         \
        static const MessageMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                       \
            MessageMapEntry()                                                   \
        };                                                                      \
        static const MessageMap map = { &TheBaseClass::GetThisMessageMap, entries }; \
        return &map;                                                            \
    }

// A button click (BN_CLICKED) or menu command with this id.
#define ON_COMMAND(id, memberFxn)                                               \
    MessageMapEntry::OnCommand(id, static_cast<MessageMapEntry::VoidHandler>(   \
        static_cast<void (ThisClass::*)()>(memberFxn))),

#define ON_MESSAGE(message, memberFxn)                                          \
    MessageMapEntry::OnMessage(message, static_cast<MessageMapEntry::MessageHandler>( \
        static_cast<LRESULT (ThisClass::*)(WPARAM, LPARAM)>(memberFxn))),

#define ON_WM_DESTROY()                                                         \
    MessageMapEntry::OnVoidMessage(WM_DESTROY, static_cast<MessageMapEntry::VoidHandler>( \
        static_cast<void (ThisClass::*)()>(&ThisClass::OnDestroy))),

#define ON_WM_PAINT()                                                           \
    MessageMapEntry::OnVoidMessage(WM_PAINT, static_cast<MessageMapEntry::VoidHandler>( \
        static_cast<void (ThisClass::*)()>(&ThisClass::OnPaint))),

#define ON_WM_TIMER()                                                           \
    MessageMapEntry::OnTimerMessage(static_cast<MessageMapEntry::TimerHandler>( \
        static_cast<void (ThisClass::*)(UINT_PTR)>(&ThisClass::OnTimer))),
