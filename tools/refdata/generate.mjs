// Writes the reference tables that tests/astro/accuracy_test.cpp compares Lunavista's phase,
// eclipse and apsis instants with:
//
//   tests/data/moon_phases.csv   every New Moon, First Quarter, Full Moon and Last Quarter
//   tests/data/eclipses.csv      every lunar (penumbral, partial, total) and solar (partial,
//                                annular, total) eclipse
//   tests/data/lunar_apsides.csv every perigee and apogee of the Moon, with its distance
//   tests/data/sky_positions.csv the Moon's topocentric place (refracted altitude, azimuth,
//                                distance) at four places and the Sun's apparent longitude, at
//                                100 instants per place spread over the range
//
// all from 1900-01-01 00:00 to 2101-01-01 00:00 Universal Time, computed with the ephemeris
// library astronomy-engine (version pinned in package.json). Run once after `npm ci`:
//
//   cd tools/refdata && npm ci && node generate.mjs
//
// The output is deterministic (no dates of generation), so re-running with the same library
// version rewrites identical files.
//
// Time scales: the library keeps every instant as days since J2000.0 in Terrestrial Time (`tt`)
// and in Universal Time (`ut`, from its own Delta-T model). jd_tt = tt + 2451545.0 is the
// quantity the tests compare with Meeus's JDE; the `utc` column is the library's UT rendered as
// ISO 8601 and is only there for people reading the table.

import * as Astronomy from 'astronomy-engine';
import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const dataDir = join(here, '..', '..', 'tests', 'data');
const libraryVersion = JSON.parse(
    readFileSync(join(here, 'node_modules', 'astronomy-engine', 'package.json'), 'utf8')).version;

const rangeStart = new Date('1900-01-01T00:00:00Z');
const rangeEnd = new Date('2101-01-01T00:00:00Z');   // exclusive
const J2000 = 2451545.0;                              // JD of the library's day 0 (TT)

// Radii the library uses inside its shadow calculations (astronomy.js 2.1.19: SUN_RADIUS_KM,
// EARTH_EQUATORIAL_RADIUS_KM, EARTH_MEAN_RADIUS_KM + EARTH_ATMOSPHERE_KM, MOON_MEAN_RADIUS_KM).
// They are not exported, so they are repeated here; the checks in the eclipse loops below stop
// the script if the recomputed shadow no longer reproduces the library's own answers.
const SunRadiusKm = 695700.0;
const EarthEquatorialRadiusKm = 6378.1366;
const EarthEclipseRadiusKm = 6371.0 + 88.0;
const MoonMeanRadiusKm = 1737.4;

const jdTT = (time) => (time.tt + J2000).toFixed(8);
const iso = (time) => time.date.toISOString();
const fixed = (value, digits) => (value === undefined ? '' : value.toFixed(digits));

function fail(message) {
    console.error(`generate.mjs: ${message}`);
    process.exit(1);
}

// The library's shadow geometry (its CalcShadow): `dir` is the shadow axis pointing away from the
// Sun, `target` the centre of the receiving body as seen from the casting body, both in au.
//   r  distance of the receiving body's centre from the axis, km
//   k  umbra radius in the plane through `target` perpendicular to the axis, km (< 0: antumbra)
//   p  penumbra radius in that plane, km
function shadow(casterRadiusKm, target, dir) {
    const u = (dir.x * target.x + dir.y * target.y + dir.z * target.z) /
              (dir.x * dir.x + dir.y * dir.y + dir.z * dir.z);
    const r = Astronomy.KM_PER_AU *
              Math.hypot(u * dir.x - target.x, u * dir.y - target.y, u * dir.z - target.z);
    const k = SunRadiusKm - (1.0 + u) * (SunRadiusKm - casterRadiusKm);
    const p = -SunRadiusKm + (1.0 + u) * (SunRadiusKm + casterRadiusKm);
    return { r, k, p };
}

// The Earth's shadow at the Moon (lunar eclipses).
function earthShadow(time) {
    const sun = Astronomy.GeoVector(Astronomy.Body.Sun, time, true);
    const moon = Astronomy.GeoMoon(time);
    return shadow(EarthEclipseRadiusKm, moon, { x: -sun.x, y: -sun.y, z: -sun.z });
}

// The Moon's shadow in the plane through the Earth's centre (solar eclipses).
function moonShadow(time) {
    const sun = Astronomy.GeoVector(Astronomy.Body.Sun, time, true);
    const moon = Astronomy.GeoMoon(time);
    const earthFromMoon = { x: -moon.x, y: -moon.y, z: -moon.z };
    const sunToMoon = { x: moon.x - sun.x, y: moon.y - sun.y, z: moon.z - sun.z };
    return shadow(MoonMeanRadiusKm, earthFromMoon, sunToMoon);
}

// Meeus's gamma carries the sign of the side on which the shadow axis passes: north positive.
// At an eclipse that is the side of the ecliptic on which the Moon stands.
const northSign = (time) => (Astronomy.EclipticGeoMoon(time).lat >= 0 ? 1 : -1);

function header(lines) {
    return lines.map((line) => `# ${line}`.trimEnd()).join('\n') + '\n';
}

const commonHeader = [
    `Made by tools/refdata/generate.mjs with astronomy-engine ${libraryVersion} (npm).`,
    `Range: ${rangeStart.toISOString()} to ${rangeEnd.toISOString()} (exclusive), Universal Time.`,
    'Time scales: jd_tt is the Julian Day in Terrestrial Time (library tt + 2451545.0);',
    "utc is the library's Universal Time (its own Delta-T model), ISO 8601, for reading only.",
];

function writePhases() {
    const rows = [];
    let quarter = Astronomy.SearchMoonQuarter(rangeStart);
    while (quarter.time.date < rangeEnd) {
        rows.push(`${quarter.quarter},${jdTT(quarter.time)},${iso(quarter.time)}`);
        quarter = Astronomy.NextMoonQuarter(quarter);
    }
    const text = header([
        ...commonHeader,
        'Every principal phase of the Moon: the instant when the geocentric apparent ecliptic',
        'longitude of the Moon minus that of the Sun is 0, 90, 180 or 270 degrees (the library',
        'searches to 0.1 s).',
        'kind: 0 New Moon, 1 First Quarter, 2 Full Moon, 3 Last Quarter.',
    ]) + 'kind,jd_tt,utc\n' + rows.join('\n') + '\n';
    writeFileSync(join(dataDir, 'moon_phases.csv'), text);
    return rows.length;
}

function lunarRows() {
    const rows = [];
    let eclipse = Astronomy.SearchLunarEclipse(rangeStart);
    while (eclipse.peak.date < rangeEnd) {
        const s = earthShadow(eclipse.peak);
        // The library's own classification from the same r, k, p.
        const kind = s.r + MoonMeanRadiusKm < s.k ? 'total'
                   : s.r < s.k + MoonMeanRadiusKm ? 'partial' : 'penumbral';
        if (kind !== eclipse.kind) {
            fail(`lunar eclipse ${iso(eclipse.peak)}: recomputed shadow says ${kind}, ` +
                 `library says ${eclipse.kind}`);
        }
        const gamma = northSign(eclipse.peak) * s.r / EarthEquatorialRadiusKm;
        const umbral = (s.k + MoonMeanRadiusKm - s.r) / (2 * MoonMeanRadiusKm);
        const penumbral = (s.p + MoonMeanRadiusKm - s.r) / (2 * MoonMeanRadiusKm);
        rows.push({
            jd: eclipse.peak.tt,
            text: ['lunar', eclipse.kind, jdTT(eclipse.peak), iso(eclipse.peak),
                   fixed(gamma, 5), '', '', fixed(umbral, 5), fixed(penumbral, 5),
                   fixed(eclipse.obscuration, 5), fixed(eclipse.sd_penum, 2),
                   fixed(eclipse.sd_partial, 2), fixed(eclipse.sd_total, 2)].join(','),
        });
        eclipse = Astronomy.NextLunarEclipse(eclipse.peak);
    }
    return rows;
}

function solarRows() {
    const rows = [];
    let eclipse = Astronomy.SearchGlobalSolarEclipse(rangeStart);
    while (eclipse.peak.date < rangeEnd) {
        const s = moonShadow(eclipse.peak);
        if (Math.abs(s.r - eclipse.distance) > 1e-6) {
            fail(`solar eclipse ${iso(eclipse.peak)}: recomputed axis distance ${s.r} km, ` +
                 `library says ${eclipse.distance} km`);
        }
        const gamma = northSign(eclipse.peak) * eclipse.distance / EarthEquatorialRadiusKm;
        // Meeus's u: radius of the umbral cone in the plane through the Earth's centre, Earth
        // radii, negative where the umbra (not the antumbra) reaches that plane.
        const u = -s.k / EarthEquatorialRadiusKm;
        const central = eclipse.latitude !== undefined;
        rows.push({
            jd: eclipse.peak.tt,
            text: ['solar', eclipse.kind, jdTT(eclipse.peak), iso(eclipse.peak),
                   fixed(gamma, 5), fixed(u, 5), central ? 1 : 0, '', '',
                   fixed(eclipse.obscuration, 5), '', '', ''].join(','),
        });
        eclipse = Astronomy.NextGlobalSolarEclipse(eclipse.peak);
    }
    return rows;
}

function writeEclipses() {
    const rows = [...lunarRows(), ...solarRows()].sort((a, b) => a.jd - b.jd);
    const text = header([
        ...commonHeader,
        'Every lunar eclipse (penumbral, partial, total) and every solar eclipse seen anywhere on',
        "Earth (partial, annular, total; the library does not report hybrid eclipses: it names",
        'the kind seen where the shadow axis meets the Earth at the peak).',
        "peak_jd_tt: the library's peak: least distance of the Moon's centre from the axis of",
        "  the Earth's shadow (lunar), of the Earth's centre from the Moon's shadow axis (solar).",
        "gamma: that least distance in Earth equatorial radii (6378.1366 km), positive when the",
        '  Moon is north of the ecliptic (the sign convention of Meeus, chapter 54).',
        "u (solar): radius of the Moon's umbral cone in the plane through the Earth's centre,",
        "  Earth radii; negative where the umbra reaches past that plane (Meeus's u).",
        'central (solar): 1 if the shadow axis meets the Earth, 0 if not.',
        "umbral_mag, penumbral_mag (lunar): magnitude at the peak for the library's shadow, which",
        '  enlarges the Earth by 88 km of atmosphere (radius 6459 km).',
        "obscuration: lunar, fraction of the Moon's disc in the umbra; solar, fraction of the Sun",
        '  covered where the shadow axis meets the Earth (central eclipses only).',
        'sd_penum, sd_partial, sd_total (lunar): semi-durations of the phases in minutes.',
        'Empty field: the quantity does not apply.',
    ]) + 'body,kind,peak_jd_tt,utc,gamma,u,central,umbral_mag,penumbral_mag,obscuration,' +
         'sd_penum,sd_partial,sd_total\n' + rows.map((row) => row.text).join('\n') + '\n';
    writeFileSync(join(dataDir, 'eclipses.csv'), text);
    return rows.length;
}

function writeApsides() {
    const rows = [];
    let apsis = Astronomy.SearchLunarApsis(rangeStart);
    while (apsis.time.date < rangeEnd) {
        const kind = apsis.kind === Astronomy.ApsisKind.Pericenter ? 'perigee' : 'apogee';
        rows.push(`${kind},${jdTT(apsis.time)},${iso(apsis.time)},${apsis.dist_km.toFixed(3)}`);
        apsis = Astronomy.NextLunarApsis(apsis);
    }
    const text = header([
        ...commonHeader,
        'Every perigee and apogee of the Moon: the instant when the distance between the centres',
        "of the Earth and the Moon (the library's lunar theory) stops falling or rising; the",
        "library finds where the distance's rate of change crosses zero, to about a second.",
        'kind: perigee (least distance) or apogee (greatest distance); they alternate.',
        'distance_km: the distance between the centres at that instant, km',
        `  (library au times ${Astronomy.KM_PER_AU} km).`,
    ]) + 'kind,jd_tt,utc,distance_km\n' + rows.join('\n') + '\n';
    writeFileSync(join(dataDir, 'lunar_apsides.csv'), text);
    return rows.length;
}

// Places at height 0 m: two in the middle latitudes of either hemisphere, one on the equator
// (where the Moon passes near the zenith) and one north of the Arctic Circle (where it skims
// the horizon).
const skyPlaces = [
    { name: 'Berlin', latitude: 52.52, longitude: 13.405 },
    { name: 'Sydney', latitude: -33.8688, longitude: 151.2093 },
    { name: 'Quito', latitude: -0.1807, longitude: -78.4678 },
    { name: 'Tromso', latitude: 69.6492, longitude: 18.9553 },
];
const instantsPerPlace = 100;

function writeSkyPositions() {
    const rows = [];
    const startUt = rangeStart.getTime() / 86400000 + 2440587.5;  // Julian Day, UT
    const spanDays = (rangeEnd.getTime() - rangeStart.getTime()) / 86400000;
    for (const [p, place] of skyPlaces.entries()) {
        const observer = new Astronomy.Observer(place.latitude, place.longitude, 0);
        for (let i = 0; i < instantsPerPlace; ++i) {
            // One instant in each hundredth of the range, at a point within it that the
            // fractional parts of multiples of the golden ratio spread without a pattern (and so
            // at every time of day and phase of the Moon).
            const offset = ((i * skyPlaces.length + p) * 0.6180339887498949) % 1;
            const jdUt = startUt + (i + offset) * spanDays / instantsPerPlace;
            const time = Astronomy.MakeTime(jdUt - J2000);
            const moon = Astronomy.Equator(Astronomy.Body.Moon, time, observer, true, true);
            const horizon = Astronomy.Horizon(time, observer, moon.ra, moon.dec, 'normal');
            const sun = Astronomy.SunPosition(time);
            rows.push([place.name, place.latitude, place.longitude, jdUt.toFixed(8), iso(time),
                       horizon.altitude.toFixed(6), horizon.azimuth.toFixed(6),
                       (moon.dist * Astronomy.KM_PER_AU).toFixed(3), sun.elon.toFixed(7)].join(','));
        }
    }
    const text = header([
        `Made by tools/refdata/generate.mjs with astronomy-engine ${libraryVersion} (npm).`,
        `Range: ${rangeStart.toISOString()} to ${rangeEnd.toISOString()} (exclusive), Universal Time;`,
        `${instantsPerPlace} instants per place, one in each hundredth of the range at a varying point.`,
        'The Moon as seen from the place (height 0 m): Equator(Moon, time, observer, ofdate,',
        "aberration) then Horizon(..., 'normal'), i.e. topocentric, of date, with the library's",
        'standard refraction; the Sun: SunPosition(time), apparent and of date.',
        'jd_ut: the Julian Day in Universal Time (the library takes Delta-T from the same',
        '  Espenak-Meeus polynomials as this program); utc the same instant for reading.',
        'latitude_deg, longitude_deg: the place, north and east positive.',
        "moon_altitude_deg: the refracted altitude of the Moon's centre.",
        'moon_azimuth_deg: degrees from the north over the east.',
        'moon_distance_km: from the place to the centre of the Moon.',
        "sun_longitude_deg: the Sun's apparent geocentric ecliptic longitude of date.",
    ]) + 'place,latitude_deg,longitude_deg,jd_ut,utc,moon_altitude_deg,moon_azimuth_deg,' +
         'moon_distance_km,sun_longitude_deg\n' + rows.join('\n') + '\n';
    writeFileSync(join(dataDir, 'sky_positions.csv'), text);
    return rows.length;
}

mkdirSync(dataDir, { recursive: true });
const phases = writePhases();
const eclipses = writeEclipses();
const apsides = writeApsides();
const positions = writeSkyPositions();
console.log(`astronomy-engine ${libraryVersion}: ${phases} phases, ${eclipses} eclipses, ` +
            `${apsides} apsides, ${positions} sky positions written to ${dataDir}`);
