#pragma once

#include <deque>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Commands.h"
#include "StubLocator.h"

namespace CLI {
class App;
class Option;
} // namespace CLI

// The tool's command line: its commands and options, help and version texts, usage
// errors, and the dispatch to the command that was asked for.
class COvrapackCommandLine
{
public:
    // interactive: standard error is a terminal, where progress rewrites its line.
    explicit COvrapackCommandLine(CStubLocator stubs, bool interactive = false);
    ~COvrapackCommandLine();
    COvrapackCommandLine(const COvrapackCommandLine&) = delete;
    COvrapackCommandLine& operator=(const COvrapackCommandLine&) = delete;

    // The arguments after the program's name; returns the exit code. Help and version
    // go to out (0); a usage error is one line on err (2).
    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

private:
    // An option whose text is read by the tool's own rules (sizes with suffixes, hex
    // offsets, ranges) after parsing; a text they refuse is a usage error naming it.
    struct SValue
    {
        CLI::Option* option = nullptr;
        std::string text;
        std::string expected;
        std::function<bool(const std::string&)> accept;
    };

    CLI::Option* AddValue(CLI::App& app, const std::string& name, const std::string& typeName,
                          const std::string& description, const std::string& expected,
                          std::function<bool(const std::string&)> accept);
    CLI::Option* AddInteger(CLI::App& app, const std::string& name, int minimum, int maximum, int& target,
                            const std::string& description);
    CLI::Option* AddOffset(CLI::App& app, const std::string& name, uint64_t maximum, std::optional<uint64_t>& target,
                           const std::string& description);
    void AddInfo();
    void AddPatch();
    void AddExtract();
    void AddTest();
    void AddList();
    void AddPack();
    int Dispatch(std::ostream& out, std::ostream& err);
    int UsageError(const std::string& problem, std::ostream& err) const;

    CStubLocator m_stubs;
    std::unique_ptr<CLI::App> m_app;
    std::deque<SValue> m_values;  // stable addresses: the options write into them
    SInfoOptions m_info;
    SPatchOptions m_patch;
    SExtractOptions m_extract;
    STestOptions m_test;
    SListOptions m_list;
    SPackOptions m_pack;
};
