#pragma once

class TChildForm;

// Puts the text of the window's log (a mailer style) into its viewer. With OEM conversion on,
// the file is read here, cut by KBytes on its raw bytes and shown in the OEM code page; else the
// viewer reads it and shows it in the ANSI code page. False when nothing could be loaded.
bool LoadLogText(TChildForm& window);

// Cuts the log file to its CutSize (KBytes or days) and drops the same lines from the viewer.
// The file is rewritten in place with exactly the kept bytes, plus whatever the mailer
// appended meanwhile. False when the file could not be opened (loading stops there).
bool CutLog(TChildForm& window);
