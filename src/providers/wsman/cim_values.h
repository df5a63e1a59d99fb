#pragma once
// Property values of an item as the management interface gives them to a
// script: text, integers, Booleans, arrays, datetimes in the CIM form
// yyyymmddHHMMSS.mmmmmmsUUU, and nothing at all for xsi:nil.
//
// The wire carries no types, so we take them from, in this order: an xsi:type
// on the element; the table of properties we know (the ones the collectors
// ask for); the shape of the text. A one-element array looks like a scalar on
// the wire, so only the table can say that a property is an array.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "providers/wsman/response_parser.h"
#include "wbem/value.h"

namespace vantrel::wsman {

using PropertyList = std::vector<std::pair<std::string, wbem::Value>>;

// One entry per property name, in the order first seen; repeated elements
// become one array.
PropertyList convertItem(const RawItem& item);

// "2013-03-09T03:06:25.5Z" -> "20130309030625.500000+000"; empty when the
// text is not an xs:dateTime.
std::string cimDatetime(std::string_view xsDateTime);

bool isArrayProperty(std::string_view name);

}  // namespace vantrel::wsman
