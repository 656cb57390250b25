#pragma once

#include <string>

// The two forms of a conditional box's markup message: the plain text the system box
// shows (tags removed, "<br>" as line feeds, one line feed appended) and the markup
// the markup control paints in its place (line feeds as "<br>").
struct SConditionalMessageForms {
    std::wstring plain;
    std::wstring markup;
};

SConditionalMessageForms DeriveConditionalMessageForms(const std::wstring& message);
