#pragma once

#include "Language.h"

#include <list>
#include <string>

class IHelpFolderQuery;

// The rules of help files that need no system: which file suits a language, which
// language a help file is in, and the lists of installed languages.

// Searches `folder` for the help file of `language`: for each suffix (the culture
// names of the language, its fallback and English, then their three-letter codes)
// baseA and baseB with ".shlp", then with ".chm"; then `plainName`; then the first
// ".shlp", then the first ".chm" file the folder lists. `found` receives the path.
// False when nothing was found or `found` is null.
bool FindHelpFile(std::wstring* found, const wchar_t* folder, const wchar_t* baseA, const wchar_t* baseB,
                  CLanguage language, const wchar_t* plainName);
// The same search through the given file system query.
bool FindHelpFile(const IHelpFolderQuery& query, std::wstring* found, const wchar_t* folder, const wchar_t* baseA,
                  const wchar_t* baseB, CLanguage language, const wchar_t* plainName);

// The base of a help file name for a program name: the name, followed by "_" unless
// the language is neutral, without blanks.
std::wstring HelpBaseName(const std::wstring& name, const CLanguage& language);

// The language a help path names before its four-character extension: a three-letter
// code ("Help_DEU.chm"), else a culture name ("Help_de-DE.chm"); invalid otherwise.
CLanguage HelpFileLanguage(const std::wstring& helpPath);

// A message format for one argument: every insert but "%1" (plain, or with a string
// conversion such as "%1!s!") made literal, so that a translation naming "%2" or a
// width taken from an argument reads nothing past the one argument there is.
std::wstring OneArgumentMessageFormat(const std::wstring& format);

// Whether a help target is an address rather than a file.
bool IsHelpAddress(const std::wstring& helpPath);

// Appends the pieces of a language list (cut at ';', ',' and blanks) that have three
// or five characters, each once, keeping their order.
void AppendLanguagePieces(std::list<std::wstring>& languages, const std::wstring& text);
