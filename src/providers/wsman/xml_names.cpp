#include "providers/wsman/xml_names.h"

#include <cstring>
#include <string>

namespace vantrel::wsman {

namespace {

std::string_view prefixOf(const char* qualifiedName) {
    const char* colon = std::strchr(qualifiedName, ':');
    return colon ? std::string_view(qualifiedName, static_cast<std::size_t>(colon - qualifiedName)) : std::string_view();
}

// Walks up from the element to the nearest declaration of the prefix.
std::string_view resolvePrefix(pugi::xml_node element, std::string_view prefix) {
    const std::string wanted = prefix.empty() ? std::string("xmlns") : "xmlns:" + std::string(prefix);
    for (pugi::xml_node n = element; n && n.type() == pugi::node_element; n = n.parent())
        for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute())
            if (wanted == a.name()) return a.value();
    return {};
}

}  // namespace

std::string_view localName(const char* qualifiedName) {
    const char* colon = std::strchr(qualifiedName, ':');
    return colon ? std::string_view(colon + 1) : std::string_view(qualifiedName);
}

std::string_view namespaceOf(pugi::xml_node element) { return resolvePrefix(element, prefixOf(element.name())); }

bool isElement(pugi::xml_node node, std::string_view ns, std::string_view local) {
    return node.type() == pugi::node_element && localName(node.name()) == local && namespaceOf(node) == ns;
}

pugi::xml_node childElement(pugi::xml_node parent, std::string_view ns, std::string_view local) {
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling())
        if (isElement(c, ns, local)) return c;
    return {};
}

pugi::xml_attribute attributeNs(pugi::xml_node element, std::string_view ns, std::string_view local) {
    for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
        const std::string_view prefix = prefixOf(a.name());
        if (prefix.empty() || prefix == "xmlns" || localName(a.name()) != local) continue;
        if (resolvePrefix(element, prefix) == ns) return a;
    }
    return {};
}

}  // namespace vantrel::wsman
