#pragma once

#include <list>
#include <string>

// Language settings kept outside the program: the family language and the installed
// languages of a product line in its catalogue keys, and the running program's
// language published in shared memory for other processes of the family.

// "FamilyLanguage" of the product line's shared key, the current user's first, then the
// local machine's; empty when neither can be read.
std::wstring GetFamilyLanguage(int productLineId);
// Writes "FamilyLanguage" into both keys (current user, then local machine).
void SetFamilyLanguage(const std::wstring& value, int productLineId);
// The installed languages of the product line's installation key on the local machine
// (each code or culture name once, in order); with `addDefaults` also the system
// default language's code and "ENU" if missing.
void GetInstalledLanguages(std::list<std::wstring>& out, int productLineId, bool addDefaults);
void SetInstalledLanguages(const std::wstring& value, int productLineId);

// Publishes the language (at most 10 characters) under "OvraAppLanguage_<process id>";
// the section stays until the next call or ClosePublishedAppLanguage.
bool PublishAppLanguage(const std::wstring& language);
// Reads this process's published language, at most 10 characters.
bool ReadAppLanguage(std::wstring& language);
void ClosePublishedAppLanguage();
