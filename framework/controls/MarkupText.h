#pragma once

#include <functional>
#include <string>

// The two readings of a markup text that need no drawing.
namespace MarkupText {
// The text without tags: line feeds and "<br>" become spaces, every "<...>" goes.
std::wstring PlainText(const std::wstring& markup);

// Replaces each "<a weblinkid=N>" (or "<A WEBLINKID=N>") whose address `lookUp(N)` gives
// by "<a href=" and that address; an id without an address stays as it is.
std::wstring ResolveWebLinkIds(const std::wstring& markup, const std::function<std::wstring(int)>& lookUp);
} // namespace MarkupText
