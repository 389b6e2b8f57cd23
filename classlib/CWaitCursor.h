#pragma once
// Shows the wait cursor for one scope on the calling thread. Nested ones count: the arrow comes
// back when the last ends. While any is active, windows of the thread keep the wait cursor even
// when the mouse moves over them.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
