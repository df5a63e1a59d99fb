#pragma once
// The template half of the .x grammar: `template Name { <guid> members
// [restriction] }` read into a registry. The data-object half builds on it.

#include <string_view>

#include "engine3d/xfile/xfile_lexer.h"
#include "engine3d/xfile/xfile_template.h"

namespace vantrel::engine3d {

// Reads one declaration after its `template` keyword; member types are looked
// up in templates. Throws XFileError.
XTemplate parseTemplateDeclaration(XLexer& lex, const XTemplateRegistry& templates, bool standard);

// Reads template declarations from text into a registry (used for the built-in
// set). Throws XFileError.
void parseTemplateText(std::string_view text, XTemplateRegistry& into, bool standard);

}  // namespace vantrel::engine3d
