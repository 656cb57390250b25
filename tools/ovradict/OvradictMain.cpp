// ovradict: compiles gettext catalogs into the merged dictionary resource and
// shows a compiled dictionary as text.
//
//   ovradict compile --template KEYS.pot --output DICT.bin [--source-language ENU] LANG.po...
//   ovradict dump DICT.bin
//
// A catalog's language is its file name without extension (deu.po is DEU).

#include "DictionaryCompiler.h"
#include "DictionaryDump.h"
#include "PoCatalog.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

int Usage()
{
    std::fputs("usage: ovradict compile --template KEYS.pot --output DICT.bin [--source-language CODE] LANG.po...\n"
               "       ovradict dump DICT.bin\n",
               stderr);
    return 2;
}

void PrintErrors(const std::vector<std::string>& errors)
{
    for (const std::string& error : errors)
        std::fprintf(stderr, "ovradict: %s\n", error.c_str());
}

std::wstring CodeOfCatalog(const std::string& path)
{
    const std::string stem = std::filesystem::path(path).stem().string();
    return std::wstring(stem.begin(), stem.end());
}

bool WriteFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    // Written beside the target and renamed, so an interrupted build leaves no half file.
    const std::string partial = path + ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush())
            return false;
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    return !error;
}

int Compile(const std::vector<std::string>& args)
{
    std::string templatePath, outputPath, sourceLanguage;
    std::vector<std::string> catalogs;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--template" && hasValue)
            templatePath = args[++i];
        else if (args[i] == "--output" && hasValue)
            outputPath = args[++i];
        else if (args[i] == "--source-language" && hasValue)
            sourceLanguage = args[++i];
        else if (args[i].starts_with("--"))
            return Usage();
        else
            catalogs.push_back(args[i]);
    }
    if (templatePath.empty() || outputPath.empty())
        return Usage();

    std::vector<std::string> errors;
    CPoCatalog keyCatalog;
    if (!keyCatalog.Read(templatePath, errors)) {
        PrintErrors(errors);
        return EXIT_FAILURE;
    }
    std::vector<std::string> keys;
    for (const auto& [msgid, msgstr] : keyCatalog.GetMessages())
        keys.push_back(msgid);

    CDictionaryCompiler compiler;
    bool ok = compiler.SetKeys(keys);
    if (!sourceLanguage.empty())
        ok = compiler.AddSourceLanguage(std::wstring(sourceLanguage.begin(), sourceLanguage.end())) && ok;
    for (const std::string& path : catalogs) {
        CPoCatalog catalog;
        if (!catalog.Read(path, errors)) {
            ok = false;
            continue;
        }
        std::vector<std::pair<std::string, std::string>> translations;
        for (const auto& [msgid, msgstr] : catalog.GetMessages()) {
            if (catalog.IsFuzzy(msgid))
                errors.push_back(path + ": the translation of \"" + msgid + "\" is marked fuzzy");
            else
                translations.emplace_back(msgid, msgstr);
        }
        ok = compiler.AddLanguage(CodeOfCatalog(path), path, translations) && ok;
    }
    PrintErrors(errors);
    PrintErrors(compiler.GetErrors());
    if (!ok || !errors.empty())
        return EXIT_FAILURE;
    if (!WriteFile(outputPath, compiler.Serialize())) {
        std::fprintf(stderr, "ovradict: cannot write %s\n", outputPath.c_str());
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}

int Dump(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "ovradict: cannot read %s\n", path.c_str());
        return EXIT_FAILURE;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    CMergedLocalizationDictionary dictionary;
    const bool complete = dictionary.Load(bytes.data(), bytes.size());
    std::fputs(DictionaryDump::Text(dictionary).c_str(), stdout);
    if (!complete) {
        std::fprintf(stderr, "ovradict: %s is not a complete merged dictionary\n", path.c_str());
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 1 && args[0] == "compile")
        return Compile(std::vector<std::string>(args.begin() + 1, args.end()));
    if (args.size() == 2 && args[0] == "dump")
        return Dump(args[1]);
    return Usage();
}
