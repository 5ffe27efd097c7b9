#pragma once
#include <string>

// `name` in the running executable's folder. The test programs and the deliverables are all built
// into one folder, so this is where they are found.
std::wstring builtProgram(const std::wstring& name);

std::string toUtf8(const std::wstring& text);
std::wstring fromUtf8(const std::string& text);
// Text in the ANSI code page, as a Windows program writes it, and back (as the relay converts
// what it relays).
std::string toAnsi(const std::wstring& text);
std::wstring fromAnsi(const std::string& bytes);

// A path that the build system wrote into a program (e.g. one in the source tree), in UTF-8.
// Built on a Unix machine and run under Wine it is a Unix path; Wine's own conversion makes it a
// DOS path. Empty when that fails.
std::wstring hostPath(const std::string& path);

// The Unix path Wine gives a DOS path, in UTF-8; empty when that fails.
std::string unixPath(const std::wstring& path);
