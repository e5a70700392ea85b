#pragma once

#include "support/ScriptedHost.h"

#include <string>

namespace qmtest {

// Imports a backup file the way the registry editor does, with Quillmoor's own reader, into
// the registry this process sees (the sandbox). For tests that must not start a program.
bool ImportBackupFile(const std::wstring& path);

// Makes the scripted host's "registry editor" import the file named on its command line.
void ImportOnRun(ScriptedHost& host);

} // namespace qmtest
