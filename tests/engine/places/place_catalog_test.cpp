// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "engine/places/embedded_resources.h"
#include "engine/places/place_catalog.h"
#include "engine/places/place_labels.h"
#include "engine/places/place_names.h"

namespace cf {
namespace {

const PlaceCatalog& Places()
{
    return PlaceCatalog::Embedded();
}

// Code of the first row a typed name finds; empty when none.
std::string_view CodeOf(std::string_view typedName)
{
    const int row = Places().FirstRowNamed(typedName);
    return row < 0 ? std::string_view() : Places().Row(row).code;
}

std::string_view ProvinceOf(std::string_view code)
{
    const int row = Places().FirstRowWithCode(code);
    return row < 0 ? std::string_view() : Places().Row(row).province;
}

std::string Folded(std::string_view text)
{
    std::array<char, kMaxPlaceNameLength> buffer;
    return std::string(FoldPlaceName(text, buffer));
}

TEST(PlaceCatalog, EmbeddedPeriodsAreTheCommittedFile)
{
    std::ifstream file(CF_SOURCE_DIR "/resources/place_periods.txt", std::ios::binary);
    const std::string committed((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto bytes = ResourceBytes(kPlacePeriodsResource);
    EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), committed);
    EXPECT_EQ(Places().Periods().size(), 15358u);
}

// Every row of a code with periods carries the province of its latest
// period: today's for a place that exists.
TEST(PlaceCatalog, ProvincesAreThoseOfToday)
{
    for (const PlaceRow& row : Places().Rows()) {
        const auto periods = Places().PeriodsOf(row.code);
        if (!periods.empty()) {
            ASSERT_EQ(row.province, periods.back().province) << row.name << " " << row.code;
        }
    }
    EXPECT_EQ(ProvinceOf("B963"), "CE");  // CASERTA, NA from 1927 to 1945
    EXPECT_EQ(ProvinceOf("E379"), "TO");  // IVREA, AO from 1927 to 1945
    EXPECT_EQ(ProvinceOf(CodeOf("AVERSA")), "CE");
    EXPECT_EQ(ProvinceOf(CodeOf("COGOLETO")), "GE");
    EXPECT_EQ(ProvinceOf(CodeOf("OLBIA")), "SS");  // OT from 2006 to 2016
    EXPECT_EQ(ProvinceOf("L659"), "PV");           // VALVERDE of Pavia, not of Catania
}

// Every municipality of today is found by its official name, with its own
// code, either first or with its province in brackets; so is every old name.
TEST(PlaceCatalog, EveryNameOfEveryPeriodHasItsRow)
{
    std::set<std::pair<std::string_view, std::string_view>> rows;
    for (const PlaceRow& row : Places().Rows())
        rows.insert({row.name, row.code});
    for (const PlacePeriod& period : Places().Periods()) {
        std::string_view names = period.names;
        while (!names.empty()) {
            const std::size_t comma = names.find(',');
            ASSERT_TRUE(rows.count({names.substr(0, comma), period.code})) << names << " " << period.code;
            names = comma == std::string_view::npos ? std::string_view() : names.substr(comma + 1);
        }
    }
    EXPECT_EQ(CodeOf("CERVIGNANO DEL FRIULI"), "C556");
    EXPECT_EQ(CodeOf("TRENTOLA DUCENTA"), "L379");
    EXPECT_EQ(CodeOf("PIEDIMONTE MATESE"), "G596");
    EXPECT_EQ(CodeOf("PIEDIMONTE D'ALIFE"), "G596");
    EXPECT_EQ(CodeOf("CAVAZUCCHERINA"), "C388");
    EXPECT_EQ(CodeOf("JESOLO"), "C388");
}

TEST(PlaceCatalog, BilingualNamesAndSecondLanguage)
{
    EXPECT_EQ(CodeOf("BOZEN"), "A952");
    EXPECT_EQ(CodeOf("BOLZANO"), "A952");
    EXPECT_EQ(CodeOf("DOBERDÒ DEL LAGO-DOBERDOB"), "D312");
    EXPECT_EQ(CodeOf("DOBERDOB"), "D312");
    EXPECT_EQ(CodeOf("DOBERDO' DEL LAGO"), "D312");
    EXPECT_EQ(CodeOf("DEVIN NABREZINA"), "D383");
    EXPECT_EQ(CodeOf("Devin Nabrežina"), "D383");
    // The formal title the list gives as second-language name is one too.
    EXPECT_EQ(CodeOf("Comune di Duino Aurisina-Občina Devin Nabrežina"), "D383");
    // A hyphen inside a name of one language stays: no half of it is a row.
    EXPECT_EQ(CodeOf("CORIGLIANO"), "");
}

// Where no date is given, a name finds its first row: the place that bears
// it today, else the one that bore it until most recently.
TEST(PlaceCatalog, FirstMatchWithoutDate)
{
    EXPECT_EQ(CodeOf("ROMA"), "H501");
    EXPECT_EQ(CodeOf("SANREMO"), "I138");
    EXPECT_EQ(CodeOf("STATI UNITI D'AMERICA"), "Z404");
    EXPECT_EQ(CodeOf("BRIONE"), "B184");
    EXPECT_EQ(CodeOf("SAN TEODORO"), "I328");
    EXPECT_EQ(CodeOf("CASTRO"), "C337");
    EXPECT_EQ(CodeOf("BELLAGIO"), "M335");
    EXPECT_EQ(CodeOf("MIRABELLO"), "F235");   // Ferrara, until 2016
    EXPECT_EQ(CodeOf("VEZZANO"), "L821");     // Trento, until 2015
    EXPECT_EQ(CodeOf("FIUMICELLO"), "D627");  // Udine, until 2018
    EXPECT_EQ(CodeOf("ARMENIA"), "Z252");     // the state's code in use

    // A code shared by several names: its first row in table order.
    EXPECT_EQ(Places().Row(Places().FirstRowWithCode("C388")).name, "CAVAZUCCHERINA");
    EXPECT_EQ(Places().Row(Places().FirstRowWithCode("Z404")).name, "STATI UNITI D'AMERICA");
    EXPECT_EQ(Places().FirstRowWithCode("A000"), -1);
    EXPECT_EQ(Places().FirstRowWithCode("h501"), -1);
    EXPECT_EQ(Places().FirstRowWithCode("H5011"), -1);
    EXPECT_EQ(Places().FirstRowWithCode(""), -1);
}

TEST(PlaceCatalog, TypedNamesFoldToTheTableForm)
{
    for (const char* typed : {"FORLÌ", "forlì", "  Forlì ", "FORLI'", "forli`", "FORLI’"})
        EXPECT_EQ(CodeOf(typed), "D704") << typed;
    EXPECT_EQ(CodeOf("CANTÙ"), "B639");
    EXPECT_EQ(CodeOf("Città di Castello"), "C745");
    EXPECT_EQ(CodeOf("SAN  TEODORO"), "I328");
    EXPECT_EQ(CodeOf("Perù"), "Z611");
    EXPECT_EQ(CodeOf("piedimonte d’alife"), "G596");
    EXPECT_EQ(Folded("sèn jan"), "SEN JAN");
    EXPECT_EQ(Folded("\tSan Remo\t"), "SAN REMO");

    // What no place name can hold finds nothing.
    EXPECT_EQ(CodeOf(""), "");
    EXPECT_EQ(CodeOf("   "), "");
    EXPECT_EQ(CodeOf("ROMA\xff"), "");
    EXPECT_EQ(CodeOf("\xc3"), "");
    EXPECT_EQ(CodeOf(std::string_view("ROMA\0", 5)), "");
    EXPECT_EQ(CodeOf("РИМ"), "");
    EXPECT_EQ(CodeOf(std::string(500, 'A')), "");
}

TEST(PlaceCatalog, ProvinceInBracketsIsSplitOff)
{
    EXPECT_EQ(SplitProvince("SAN TEODORO (SS)").name, "SAN TEODORO");
    EXPECT_EQ(SplitProvince("SAN TEODORO (SS)").province, "SS");
    EXPECT_EQ(SplitProvince("COCOS (ISOLE)").province, "");
    EXPECT_EQ(SplitProvince("(SS)").province, "");
    EXPECT_EQ(SplitProvince("ROMA (R1)").province, "");
}

// The one spelling the original program put right, in any case; nothing
// else, not even a blank more.
TEST(PlaceCatalog, SanRemoIsWrittenAsTheTableWritesIt)
{
    for (const char* typed : {"SAN REMO", "San Remo", "san remo"})
        EXPECT_EQ(SanremoAsTheTableWritesIt(typed), "SANREMO") << typed;
    for (const char* typed : {"SANREMO", " SAN REMO", "SAN  REMO", "S. REMO", "SAN REMO (IM)", ""})
        EXPECT_EQ(SanremoAsTheTableWritesIt(typed), typed) << typed;
}

TEST(PlaceLabels, NamesakesShowTheirProvince)
{
    const auto label = [](std::string_view name, std::string_view code) {
        for (int row : Places().RowsNamed(name))
            if (Places().Row(row).code == code)
                return PlaceListLabel(Places(), row);
        return std::string("?");
    };
    EXPECT_EQ(label("SAN TEODORO", "I328"), "SAN TEODORO (ME)");
    EXPECT_EQ(label("SAN TEODORO", "I329"), "SAN TEODORO (SS)");
    EXPECT_EQ(label("ROMA", "H501"), "ROMA");
    // One place under an old and a new code: the old one is told by its end.
    EXPECT_EQ(label("BELLAGIO", "M335"), "BELLAGIO");
    EXPECT_EQ(label("BELLAGIO", "A744"), "BELLAGIO (fino al 2014)");
    EXPECT_EQ(label("ARMENIA", "Z137"), "ARMENIA (cessato)");

    EXPECT_EQ(PlaceBoxText(Places(), "SAN TEODORO", "SS"), "SAN TEODORO (SS)");
    EXPECT_EQ(PlaceBoxText(Places(), "BELLAGIO", "CO"), "BELLAGIO");
    EXPECT_EQ(PlaceBoxText(Places(), "ROMA", ""), "ROMA");
    EXPECT_EQ(PlaceNameOfBoxText(Places(), "SAN TEODORO (SS)"), "SAN TEODORO");
    EXPECT_EQ(PlaceNameOfBoxText(Places(), "ISOLE COOK (NZ)"), "ISOLE COOK (NZ)");
    EXPECT_EQ(PlaceNameOfBoxText(Places(), " ROMA "), "ROMA");
}

TEST(PlaceCatalog, IndexesOverOddText)
{
    const PlaceCatalog catalog("roma,H501,RM\r\nRoma,H502,XX\r\nbad\r\n,A001,PD\r\nZZZ,1234,EE\r\n",
                               "# comment\nH501,18710201,99991231,RM,ROMA\nH501,1871,x,RM,ROMA\n"
                               "A001,20000101,19990101,PD,X\nH502,19000101,19101231,XX,\n");
    EXPECT_EQ(catalog.FirstRowNamed("ROMA"), 0);
    EXPECT_EQ(catalog.RowsNamed("ROMA").size(), 2u);
    EXPECT_EQ(catalog.FirstRowWithCode("H502"), 1);
    EXPECT_EQ(catalog.FirstRowWithCode("1234"), -1);
    EXPECT_EQ(catalog.PeriodsOf("H501").size(), 1u);
    EXPECT_TRUE(catalog.PeriodsOf("A001").empty());  // ends before it begins
    EXPECT_TRUE(catalog.PeriodsOf("H502").empty());  // no name
    EXPECT_TRUE(catalog.InUseOn("H502", 18000101));
    EXPECT_FALSE(catalog.InUseOn("H501", 18000101));
}

}  // namespace
}  // namespace cf
