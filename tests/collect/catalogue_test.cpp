#include <gtest/gtest.h>

#include <set>

#include "collect/catalogue.h"
#include "wbem/wql.h"

using namespace vantrel;

TEST(Catalogue, QueriesAskForTheCatalogueClassAndEveryPropertyAPlainEntryWrites) {
    std::set<std::string_view> keywords;
    for (std::size_t i = 0; i < kCatalogue.size(); ++i) {
        const auto& c = kCatalogue[i];
        SCOPED_TRACE(std::string(c.keyword));
        EXPECT_EQ(c.number, static_cast<int>(i) + 1);
        EXPECT_TRUE(keywords.insert(c.keyword).second);
        EXPECT_EQ(findCategory(c.keyword), &c);
        const auto select = wbem::parseWql(c.secondQuery.empty() ? c.query : c.secondQuery);
        EXPECT_EQ(select.className, c.wmiClass);
        if (c.rule == CollectorRule::Plain || c.rule == CollectorRule::Motherboard) {
            ASSERT_EQ(select.properties.size(), static_cast<std::size_t>(c.linesPerEntry));
            for (int l = 0; l < c.linesPerEntry; ++l) EXPECT_EQ(select.properties[l], c.lines[l]);
        }
        EXPECT_EQ(c.statusPhrase.substr(0, 11), "Collecting ");
        EXPECT_EQ(c.statusPhrase.back(), ' ');
        EXPECT_GE(c.builderCount, 1);
    }
    EXPECT_EQ(findCategory("battery"), nullptr);
}

TEST(Catalogue, PlacementsStayInsideTheTwentyOneTables) {
    // Slot placement with two lines uses tables 10 + k: the limit must keep
    // them below 20, the table of the third row-placement line.
    for (const auto& c : kCatalogue) {
        SCOPED_TRACE(std::string(c.keyword));
        if (c.placement == Placement::Slot) {
            EXPECT_LE(c.linesPerEntry, 2);
            EXPECT_GE(c.slotLimit, 1);
            EXPECT_LE(c.slotLimit, 10);
        } else if (c.placement == Placement::LastEntry) {
            EXPECT_LE(c.linesPerEntry, 2);
        }
    }
    EXPECT_EQ(findCategory("CPU")->slotLimit, 1);
    EXPECT_EQ(findCategory("PBattery")->slotLimit, 2);
    EXPECT_EQ(findCategory("Connectors")->linesPerEntry, 3);
}

TEST(Catalogue, BuilderNames) {
    EXPECT_EQ(builderName(BuilderId::build_baseboard), "build_baseboard");
    EXPECT_EQ(builderName(BuilderId::build_lock), "build_lock");
    EXPECT_EQ(builderName(BuilderId::build_wireless), "build_wireless");
    EXPECT_EQ(builderName(BuilderId::build_1394), "build_1394");
}
