#pragma once

namespace tarvex {

// The window that shows a log while it is open. The analysis pass scrolls it to a line
// before asking about that line, and stops when the window goes away.
class ILogWindow
{
public:
    virtual ~ILogWindow() = default;
    virtual void ShowLine(int lineNo) = 0;
};

}  // namespace tarvex
