#pragma once
// Element and attribute names by namespace URI, whatever prefix the sender
// chose (Windows says s:, w:, n:; others say SOAP-ENV:, wsman:, wsen:).

#include <pugixml.hpp>
#include <string_view>

namespace vantrel::wsman {

std::string_view localName(const char* qualifiedName);
// The namespace URI of the element's prefix (or of its default namespace).
std::string_view namespaceOf(pugi::xml_node element);
bool isElement(pugi::xml_node node, std::string_view ns, std::string_view local);
// The first child element with that name, or an empty node.
pugi::xml_node childElement(pugi::xml_node parent, std::string_view ns, std::string_view local);
// The attribute of that name in that namespace (prefixed attributes only).
pugi::xml_attribute attributeNs(pugi::xml_node element, std::string_view ns, std::string_view local);

}  // namespace vantrel::wsman
