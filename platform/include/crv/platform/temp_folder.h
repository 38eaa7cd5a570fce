#pragma once
// The private temporary folder, in place of the system's shared temp path.
// Fixed names such as "RfiSrch1.tmp" and "Imod2.tmp" must never sit in a
// world-writable folder where another user could plant a link, so the user's
// folder is ${TMPDIR:-/tmp}/corvane-<uid>/, created with mode 0700 and refused
// when it exists but is a link, is not ours or is open to others.
//
// Two processes of one user (two programs, a program and the driver, two
// drivers) must never see each other's fixed names, or one run reads the
// other's intermodulation list or search results. So each process works in
// its own folder inside the user's: corvane-<uid>/p<pid>-<start>-<ns>/, held
// to the same rules, removed when the process ends. <start> is the process's
// start time and <ns> its pid namespace, so neither a number that came back
// nor a process of another container sharing TMPDIR makes the same name.
//
// The process that makes its folder holds a lock on it for its whole life.
// Folders that no live process holds are removed when a process makes its
// own; a process number alone cannot tell, since a process in another pid
// namespace has a number this one cannot see.
//
// The name depends only on the process, so every copy of this layer in one
// process (the engine library has its own) finds the same folder.
//
// Every refusal says how to work elsewhere: set TMPDIR to a folder of one's
// own.
#include <string>

#include "crv/platform/expected.h"

namespace crv::platform {

// The process's own folder, ending in "/", created when missing.
Expected<std::string> privateTempFolder();

// The user's folder that holds the process folders, ending in "/", created
// when missing.
Expected<std::string> userTempFolder();

}  // namespace crv::platform
