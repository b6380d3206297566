#pragma once
#include <QIcon>

// The log window's tool button pictures, drawn here so that they look the same everywhere.
enum class TToolIcon {
    Close, Kill, PrevDay, NextDay, DayList, PrevSession, NextSession, Find, Copy, Highlight,
    SessionList, FreqList, Timeline, DialStat, Follow,
};

QIcon ToolIcon(TToolIcon which);
