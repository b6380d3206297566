#pragma once

namespace tarvex {

// Makes standard output and standard error carry bytes as they are. Windows opens them in text
// mode, which writes LF as CR LF: records and reports would then differ from the ones written
// on other systems, and a report's own CR LF would become CR CR LF. Elsewhere it does nothing.
void UseBinaryStandardStreams();

}  // namespace tarvex
