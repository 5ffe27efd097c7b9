#pragma once
// The framework's command-line collector: hands each argument to ParseParam.

class CommandLineInfo {
public:
    // text: the argument without its leading '/' or '-' when isSwitch; isLast: the final argument.
    virtual void ParseParam(const wchar_t* text, bool isSwitch, bool isLast) = 0;

protected:
    ~CommandLineInfo() = default;
};

// Walks argv[1..argc-1] (argv[0] is the program) and calls info.ParseParam for each.
void parseCommandLine(CommandLineInfo& info, int argc, const wchar_t* const* argv);
