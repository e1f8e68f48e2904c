#include "events/place.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>

namespace events {
namespace {

constexpr double Minute = 1.0 / 60.0;
constexpr double NotRead = std::numeric_limits<double>::quiet_NaN();

// Every form a place is written in, accepted or refused (NaN latitude), as one table.
TEST(Place, TheFormsPeopleTypeAcceptedAndRefused)
{
    struct Case {
        const char* text;
        double latitude;
        double longitude;
        const char* reason;  // the start of the reason of a refusal
    };
    const Case cases[] = {
        {"52.52,13.405", 52.52, 13.405, ""},
        {"52.52, 13.405", 52.52, 13.405, ""},
        {"52.52 13.405", 52.52, 13.405, ""},
        {"52.52;13.405", 52.52, 13.405, ""},
        {"52.52/13.405", 52.52, 13.405, ""},
        {"-33.87,151.21", -33.87, 151.21, ""},
        {"\342\210\22233.87, +151.21", -33.87, 151.21, ""},  // the minus sign U+2212
        {"90,-180", 90.0, -180.0, ""},
        {"52,13", 52.0, 13.0, ""},
        {"52.52N 13.405E", 52.52, 13.405, ""},
        {"52.52n 13.405o", 52.52, 13.405, ""},
        {"33.87S 151.21E", -33.87, 151.21, ""},
        {"40.71N, 74.01W", 40.71, -74.01, ""},
        {"N52.52 E13.405", 52.52, 13.405, ""},
        {"52.52N13.405E", 52.52, 13.405, ""},
        {"13.405E 52.52N", 52.52, 13.405, ""},
        {"52\302\26031'N 13\302\26024'E", 52 + 31 * Minute, 13 + 24 * Minute, ""},
        {"52\302\260 31' 12\" N, 13\302\260 24' 36\" O", 52.52, 13.41, ""},
        {"52\302\26031'12''S 13\302\26024'36''W", -52.52, -13.41, ""},
        {"52\302\27231\302\264N 13\302\27224\302\264E", 52 + 31 * Minute, 13.4, ""},
        {"52\302\26031\342\200\262N 13\302\26024\342\200\262E", 52 + 31 * Minute, 13.4, ""},
        {"52\302\26031.2'N 13\302\26024.6'E", 52.52, 13.41, ""},
        {"52 31 N 13 24 E", 52 + 31 * Minute, 13.4, ""},
        {"52\302\26031' 13\302\26024'", 52 + 31 * Minute, 13.4, ""},
        {"52\26031'N 13\26024'E", 52 + 31 * Minute, 13.4, ""},  // Windows-1252
        // The decimal comma, where the comma cannot separate the two.
        {"52,52 13,405", 52.52, 13.405, ""},
        {"52,52; 13,405", 52.52, 13.405, ""},
        {"52,52N 13,405E", 52.52, 13.405, ""},
        {"52,5N 13E", 52.5, 13.0, ""},
        {"52,5", 52.0, 5.0, ""},
        // Refused.
        {"", NotRead, NotRead, "is empty"},
        {"52.52", NotRead, NotRead, "cannot be read"},
        {"52.52,13.405,7", NotRead, NotRead, "cannot be read"},
        {"52.52N 13.405N", NotRead, NotRead, "cannot be read"},
        {"52 31 13 24", NotRead, NotRead, "cannot be read"},
        {"52\302\26060'N 13E", NotRead, NotRead, "cannot be read"},
        {"52.5\302\26031'N 13E", NotRead, NotRead, "cannot be read"},
        {"-52.52N 13.405E", NotRead, NotRead, "cannot be read"},
        {"31'N 13E", NotRead, NotRead, "cannot be read"},
        {"52.52X 13.405", NotRead, NotRead, "cannot be read"},
        {"52.52.1 13", NotRead, NotRead, "cannot be read"},
        {"52,5 13N", NotRead, NotRead, "reads as more than one place"},
        {"90.01,0", NotRead, NotRead, "the latitude lies beyond 90"},
        {"91S 13E", NotRead, NotRead, "the latitude lies beyond 90"},
        {"52,180.5", NotRead, NotRead, "the longitude lies beyond 180"},
        {"Atlantis", NotRead, NotRead, "is no city known here"},
        {"Frankfurt an der Oder", NotRead, NotRead, "is no city known here"},
        {"--", NotRead, NotRead, "is no city known here"},
    };
    for (const Case& c : cases) {
        GeoPlace place;
        std::string reason;
        const bool read = readPlace(c.text, place, reason);
        EXPECT_EQ(read, !std::isnan(c.latitude)) << c.text << ": " << reason;
        if (read) {
            EXPECT_NEAR(place.latitudeDeg, c.latitude, 1e-9) << c.text;
            EXPECT_NEAR(place.longitudeDeg, c.longitude, 1e-9) << c.text;
            EXPECT_EQ(place.heightM, 0.0);
        } else {
            EXPECT_EQ(reason.rfind(c.reason, 0), 0u) << c.text << ": " << reason;
        }
    }
    GeoPlace place;
    std::string reason;
    EXPECT_FALSE(readPlace(std::string(500, '5'), place, reason));
}

// The names as people write them, and what they stand for.
TEST(Place, CityNamesInTheirUsualForms)
{
    struct Case {
        const char* text;
        const char* city;  // nullptr: no city
    };
    const Case cases[] = {
        {"Berlin", "Berlin"},
        {"  BERLIN ", "Berlin"},
        {"M\303\274nchen", "M\303\274nchen"},
        {"M\303\234NCHEN", "M\303\274nchen"},
        {"Mu\314\210nchen", "M\303\274nchen"},  // decomposed, as some terminals send it
        {"M\374nchen", "M\303\274nchen"},       // Windows-1252
        {"Muenchen", "M\303\274nchen"},
        {"munchen", "M\303\274nchen"},
        {"Munich", "M\303\274nchen"},
        {"Koeln", "K\303\266ln"},
        {"Zuerich", "Z\303\274rich"},
        {"Zurich", "Z\303\274rich"},
        {"Frankfurt am Main", "Frankfurt am Main"},
        {"Frankfurt", "Frankfurt am Main"},
        {"Frankfurt/Main", "Frankfurt am Main"},
        {"frankfurt a.M.", "Frankfurt am Main"},
        {"Halle (Saale)", "Halle (Saale)"},
        {"Halle/Saale", "Halle (Saale)"},
        {"Halle", "Halle (Saale)"},
        {"Freiburg i. Br.", "Freiburg im Breisgau"},
        {"M\303\274lheim an der Ruhr", "M\303\274lheim an der Ruhr"},
        {"Gen\303\250ve", "Genf"},
        {"Geneve", "Genf"},
        {"Neu\303\237", "Neuss"},
        {"Wien", "Wien"},
        {"Klagenfurt", "Klagenfurt am W\303\266rthersee"},
        {"Frankfurt (Oder)", nullptr},
        {"Halle Westfalen", nullptr},
        {"Mnchen", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        const City* city = cityNamed(c.text);
        if (c.city == nullptr) {
            EXPECT_EQ(city, nullptr) << c.text << " is " << city->name;
        } else if (city == nullptr) {
            ADD_FAILURE() << c.text << " is no city";
        } else {
            EXPECT_EQ(city->name, c.city) << c.text;
        }
    }
    GeoPlace place;
    std::string reason;
    ASSERT_TRUE(readPlace("Halle", place, reason)) << reason;
    EXPECT_EQ(place.latitudeDeg, 51.48);
    EXPECT_EQ(place.longitudeDeg, 11.98);
}

// The table: about 90 cities, each inside the three countries' bounds (a latitude and longitude
// swapped, or a sign lost, lands outside), every form of every name leads back to its own city.
TEST(Place, TheCityTableHoldsTogether)
{
    EXPECT_GE(cityTable().size(), 85u);
    std::set<std::string_view> names;
    for (const City& city : cityTable()) {
        EXPECT_TRUE(names.insert(city.name).second) << city.name;
        EXPECT_TRUE(city.country == "DE" || city.country == "AT" || city.country == "CH");
        EXPECT_TRUE(city.latitudeDeg > 45.8 && city.latitudeDeg < 55.1) << city.name;
        EXPECT_TRUE(city.longitudeDeg > 5.9 && city.longitudeDeg < 17.2) << city.name;
        EXPECT_EQ(std::round(city.latitudeDeg * 100) / 100, city.latitudeDeg) << city.name;
        std::string_view forms = city.otherNames;
        for (std::string_view form = city.name;;) {
            EXPECT_EQ(cityNamed(form), &city) << form;
            if (forms.empty()) {
                break;
            }
            form = forms.substr(0, forms.find('|'));
            forms.remove_prefix(std::min(forms.size(), form.size() + 1));
        }
    }
}

TEST(Place, CompassWordsOfEightSectorsCentredOnTheirDirections)
{
    struct Case {
        double azimuth;
        const char* word;
    };
    const Case cases[] = {
        {0.0, "N"},     {22.49, "N"},   {22.5, "NO"},
        {45.0, "NO"},   {67.5, "O"},    {90.0, "O"},
        {135.0, "SO"},  {157.49, "SO"}, {180.0, "S"},
        {202.5, "SW"},  {270.0, "W"},   {315.0, "NW"},
        {337.49, "NW"}, {337.5, "N"},   {359.99, "N"},
        {360.0, "N"},   {-10.0, "N"},   {-22.51, "NW"},
        {810.0, "O"},   {NotRead, ""},  {std::numeric_limits<double>::infinity(), ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(compassWord(c.azimuth), c.word) << c.azimuth;
    }
}

}  // namespace
}  // namespace events
