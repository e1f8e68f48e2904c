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
//   tests/data/moon_rise_set.csv every moonrise, upper and lower transit and moonset at six
//                                places in two months of two or three years each
//   tests/data/lunar_contacts.csv the contacts of every lunar eclipse with the penumbra and the
//                                umbra, and its magnitudes
//   tests/data/local_solar_eclipses.csv every solar eclipse seen from Berlin, Madrid, Reykjavik
//                                and Sydney: begin, central phase, maximum, end, the Sun's
//                                altitudes and the obscuration
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
// sunRadiusKm: the library's unless another convention is asked for.
function shadow(casterRadiusKm, target, dir, sunRadiusKm = SunRadiusKm) {
    const u = (dir.x * target.x + dir.y * target.y + dir.z * target.z) /
              (dir.x * dir.x + dir.y * dir.y + dir.z * dir.z);
    const r = Astronomy.KM_PER_AU *
              Math.hypot(u * dir.x - target.x, u * dir.y - target.y, u * dir.z - target.z);
    const k = sunRadiusKm - (1.0 + u) * (sunRadiusKm - casterRadiusKm);
    const p = -sunRadiusKm + (1.0 + u) * (sunRadiusKm + casterRadiusKm);
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

// Rising, transit and setting: places from the equator to 69.6 deg north, each in two months of
// two or three years from 1900 to 2100. The years of Tromso and Murmansk include the Moon's
// major standstills (1969, 2006, 2025, 2099: its declination reaches 28.6 deg, so at these
// latitudes it stays up or down for days each month) and a minor one (2015).
const riseSetPlaces = [
    { name: 'Berlin', latitude: 52.52, longitude: 13.405, starts: ['1900-01', '2026-03', '2100-10'] },
    { name: 'Madrid', latitude: 40.4168, longitude: -3.7038, starts: ['1925-06', '2063-11'] },
    { name: 'Sydney', latitude: -33.8688, longitude: 151.2093, starts: ['1951-04', '2026-09'] },
    { name: 'Quito', latitude: -0.1807, longitude: -78.4678, starts: ['1900-08', '2042-02'] },
    { name: 'Tromso', latitude: 69.6492, longitude: 18.9553, starts: ['1969-05', '2006-09', '2015-01'] },
    { name: 'Murmansk', latitude: 68.9585, longitude: 33.0827, starts: ['1950-11', '2025-02', '2099-07'] },
];
const riseSetMonths = 2;
// The library's radius of the Moon for rising and setting (astronomy.js 2.1.19,
// MOON_EQUATORIAL_RADIUS_KM via BodyRadiusAu) and its refraction at the horizon at 0 m
// (REFRACTION_NEAR_HORIZON), not exported: the margin column repeats its altitude test.
const MoonRadiusKm = 1738.1;
const RiseSetLimbAltitudeDeg = -34 / 60;

function writeRiseSet() {
    const rows = [];
    for (const place of riseSetPlaces) {
        const observer = new Astronomy.Observer(place.latitude, place.longitude, 0);
        // The Moon from the place: refracted altitude and azimuth of the centre, and how far
        // the upper limb's geometric altitude stands above -34'.
        const seen = (time) => {
            const moon = Astronomy.Equator(Astronomy.Body.Moon, time, observer, true, true);
            const refracted = Astronomy.Horizon(time, observer, moon.ra, moon.dec, 'normal');
            const geometric = Astronomy.Horizon(time, observer, moon.ra, moon.dec);
            const radiusDeg = Astronomy.RAD2DEG *
                Math.asin(MoonRadiusKm / Astronomy.KM_PER_AU / moon.dist);
            return {
                azimuth: refracted.azimuth, altitude: refracted.altitude,
                margin: geometric.altitude + radiusDeg - RiseSetLimbAltitudeDeg,
            };
        };
        for (const start of place.starts) {
            const from = new Date(`${start}-01T00:00:00Z`);
            const to = new Date(from);
            to.setUTCMonth(to.getUTCMonth() + riseSetMonths);
            const events = [];
            const limit = (time) => (to.getTime() - time.date.getTime()) / 86400000;
            for (const [kind, direction] of [['rise', +1], ['set', -1]]) {
                let time = Astronomy.MakeTime(from);
                for (;;) {
                    const found = Astronomy.SearchRiseSet(
                        Astronomy.Body.Moon, observer, direction, time, limit(time));
                    if (found === null || found.date >= to) {
                        break;
                    }
                    events.push({ kind, time: found });
                    time = found.AddDays(0.01);
                }
            }
            for (const [kind, hourAngle] of [['transit', 0], ['lower', 12]]) {
                let event = Astronomy.SearchHourAngle(Astronomy.Body.Moon, observer, hourAngle, from, +1);
                while (event.time.date < to) {
                    events.push({ kind, time: event.time });
                    event = Astronomy.SearchHourAngle(
                        Astronomy.Body.Moon, observer, hourAngle, event.time.AddDays(0.1), +1);
                }
            }
            events.sort((a, b) => a.time.ut - b.time.ut);
            for (const { kind, time } of events) {
                const moon = seen(time);
                const crossing = kind === 'rise' || kind === 'set';
                rows.push([place.name, place.latitude, place.longitude, kind, iso(time),
                           kind === 'lower' ? '' : moon.azimuth.toFixed(3), moon.altitude.toFixed(3),
                           crossing ? '' : moon.margin.toFixed(3)].join(','));
            }
        }
    }
    const text = header([
        `Made by tools/refdata/generate.mjs with astronomy-engine ${libraryVersion} (npm).`,
        'Every moonrise, moonset, upper and lower transit of the Moon at six places (height 0 m)',
        `in ${riseSetMonths} months of two or three years each over 1900-2100, in time order:`,
        ...riseSetPlaces.map((place) => `  ${place.name} from ${place.starts.join(', ')}`),
        `(each from 00:00 UT on the first day of that month for ${riseSetMonths} months).`,
        'kind: rise, set: SearchRiseSet(Moon, observer, +1 or -1, ...), the instant the upper limb',
        "  of the topocentric Moon crosses the geometric altitude -34' (the library's standard",
        '  refraction at 0 m); transit, lower: SearchHourAngle(Moon, observer, 0 or 12, ...), the',
        '  topocentric hour angle 0 or 12 h.',
        "utc: the instant in Universal Time (the library's Delta-T, the same Espenak-Meeus",
        '  polynomials as this program), ISO 8601 to the millisecond.',
        'azimuth_deg: of the centre, from the north over the east (none for lower transits).',
        "altitude_deg: of the centre, refracted: Horizon(..., 'normal') of the topocentric place of",
        '  date (Equator with the observer, ofdate, aberration).',
        "margin_deg (transits only): the upper limb's geometric altitude above -34', with the",
        `  library's radius of the Moon, ${MoonRadiusKm} km; a transit with the Moon up has it > 0.`,
    ]) + 'place,latitude_deg,longitude_deg,kind,utc,azimuth_deg,altitude_deg,margin_deg\n' +
        rows.join('\n') + '\n';
    writeFileSync(join(dataDir, 'moon_rise_set.csv'), text);
    return rows.length;
}

// The shadow that Lunavista's lunar eclipses use, here cast by the library's Sun on the library's
// Moon, so that the contacts compare the two programs' positions of the Moon and the Sun and not
// their conventions: the Earth's radius at latitude 45 deg (0.998340 equatorial radii of
// 6378.14 km) enlarged by 1/85 for the atmosphere (Danjon's rule, as in Espenak and Meeus's Five
// Millennium Canon of Lunar Eclipses), the Sun's radius of 959.63" at 1 au and the Moon's of
// k = 0.272481 Earth radii (Meeus, Astronomical Algorithms, ch. 55). The library's own shadow
// (6459 km) is some 16 km wider.
const DanjonEarthRadiusKm = 6378.14 * 0.998340 * (1 + 1 / 85);
const MeeusSunRadiusKm = (959.63 / 3600) * (Math.PI / 180) * Astronomy.KM_PER_AU;
const MeeusMoonRadiusKm = 0.272481 * 6378.14;

function danjonShadow(time) {
    const sun = Astronomy.GeoVector(Astronomy.Body.Sun, time, true);
    const moon = Astronomy.GeoMoon(time);
    return shadow(DanjonEarthRadiusKm, moon, { x: -sun.x, y: -sun.y, z: -sun.z }, MeeusSunRadiusKm);
}

// A contact on one side of the peak (side -1 before, +1 after): where the Moon's distance from
// the axis crosses a radius plus or minus the Moon's. The library's Search wants a function that
// rises through 0, so the side before the peak is searched with the sign turned.
function lunarContact(peak, radiusOf, side) {
    const window = 0.25;  // days: every phase of a lunar eclipse lasts less than 12 hours
    const f = (time) => {
        const s = danjonShadow(time);
        return side * (s.r - radiusOf(s));
    };
    const from = side < 0 ? peak.AddDays(-window) : peak;
    const to = side < 0 ? peak : peak.AddDays(window);
    const found = Astronomy.Search(f, from, to, { dt_tolerance_seconds: 0.1, iter_limit: 60 });
    if (!found) {
        fail(`lunar eclipse ${iso(peak)}: a contact was not found`);
    }
    return found;
}

const jdUT = (time) => (time.ut + J2000).toFixed(8);

function writeLunarContacts() {
    const rows = [];
    const contacts = [
        // the radius the Moon's distance from the axis reaches at the contact (km)
        (s) => s.p + MeeusMoonRadiusKm,  // p1, p4
        (s) => s.k + MeeusMoonRadiusKm,  // u1, u4
        (s) => s.k - MeeusMoonRadiusKm,  // u2, u3
    ];
    let eclipse = Astronomy.SearchLunarEclipse(rangeStart);
    while (eclipse.peak.date < rangeEnd) {
        const own = earthShadow(eclipse.peak);
        const umbral = (own.k + MoonMeanRadiusKm - own.r) / (2 * MoonMeanRadiusKm);
        const penumbral = (own.p + MoonMeanRadiusKm - own.r) / (2 * MoonMeanRadiusKm);
        const danjon = danjonShadow(eclipse.peak);
        const begins = [];
        const ends = [];
        for (const radiusOf of contacts) {
            const present = danjon.r < radiusOf(danjon);
            begins.push(present ? jdUT(lunarContact(eclipse.peak, radiusOf, -1)) : '');
            ends.unshift(present ? jdUT(lunarContact(eclipse.peak, radiusOf, +1)) : '');
        }
        rows.push([eclipse.kind, jdUT(eclipse.peak), iso(eclipse.peak), umbral.toFixed(5),
                   penumbral.toFixed(5), (2 * eclipse.sd_penum).toFixed(2),
                   ((danjon.k + MeeusMoonRadiusKm - danjon.r) / (2 * MeeusMoonRadiusKm)).toFixed(5),
                   ((danjon.p + MeeusMoonRadiusKm - danjon.r) / (2 * MeeusMoonRadiusKm)).toFixed(5),
                   ...begins, ...ends].join(','));
        eclipse = Astronomy.NextLunarEclipse(eclipse.peak);
    }
    const text = header([
        `Made by tools/refdata/generate.mjs with astronomy-engine ${libraryVersion} (npm).`,
        `Range: ${rangeStart.toISOString()} to ${rangeEnd.toISOString()} (exclusive), Universal Time.`,
        'Every lunar eclipse the library finds (penumbral, partial, total), with its contacts.',
        'Instants are Julian Days in Universal Time (library ut + 2451545.0; its Delta-T follows',
        'the same Espenak-Meeus polynomials as this program); utc is the peak for reading.',
        "kind, peak, umbral_mag, penumbral_mag: the library's own, in its shadow (the Earth's",
        '  radius enlarged by 88 km to 6459 km, the Moon\'s 1737.4 km); peak is the least',
        "  distance of the Moon's centre from the shadow's axis; a magnitude is the fraction of",
        "  the Moon's diameter inside a shadow at the peak, negative where the Moon stays out;",
        '  penumbral_minutes: its penumbral phase, twice its sd_penum.',
        "danjon_umbral_mag, danjon_penumbral_mag, p1 ... p4: the library's Sun and Moon in the",
        "  shadow Lunavista uses (the Earth's radius 6378.14 km x 0.998340 x (1 + 1/85), Danjon's",
        `  rule; the Sun's radius 959.63" at 1 au, the Moon's 0.272481 Earth radii), so that the`,
        '  contacts compare positions, not conventions. p1, u1, u2: the Moon\'s limb meets the',
        '  penumbra, the umbra from outside, the umbra from inside; u3, u4, p4 the same in',
        '  reverse order; each searched on its side of the peak to 0.1 s, empty where that',
        '  shadow is not reached.',
    ]) + 'kind,peak_jd_ut,utc,umbral_mag,penumbral_mag,penumbral_minutes,danjon_umbral_mag,' +
         'danjon_penumbral_mag,' +
         'p1_jd_ut,u1_jd_ut,u2_jd_ut,u3_jd_ut,u4_jd_ut,p4_jd_ut\n' + rows.join('\n') + '\n';
    writeFileSync(join(dataDir, 'lunar_contacts.csv'), text);
    return rows.length;
}

// The places of the local solar eclipses, height 0 m: two in Europe that the eclipse of
// 12 August 2026 reaches near sunset, one in its path of totality, and one in the south.
const eclipsePlaces = [
    { name: 'Berlin', latitude: 52.52, longitude: 13.405 },
    { name: 'Madrid', latitude: 40.4168, longitude: -3.7038 },
    { name: 'Reykjavik', latitude: 64.1466, longitude: -21.9426 },
    { name: 'Sydney', latitude: -33.8688, longitude: 151.2093 },
];

function writeLocalSolarEclipses() {
    const rows = [];
    const event = (e) => (e === undefined ? ['', ''] : [jdUT(e.time), e.altitude.toFixed(4)]);
    for (const place of eclipsePlaces) {
        const observer = new Astronomy.Observer(place.latitude, place.longitude, 0);
        let eclipse = Astronomy.SearchLocalSolarEclipse(rangeStart, observer);
        while (eclipse.peak.time.date < rangeEnd) {
            rows.push([place.name, place.latitude, place.longitude, eclipse.kind,
                       iso(eclipse.peak.time), ...event(eclipse.partial_begin),
                       event(eclipse.total_begin)[0], ...event(eclipse.peak),
                       event(eclipse.total_end)[0], ...event(eclipse.partial_end),
                       eclipse.obscuration.toFixed(5)].join(','));
            eclipse = Astronomy.NextLocalSolarEclipse(eclipse.peak.time, observer);
        }
    }
    const text = header([
        `Made by tools/refdata/generate.mjs with astronomy-engine ${libraryVersion} (npm).`,
        `Range: ${rangeStart.toISOString()} to ${rangeEnd.toISOString()} (exclusive), Universal Time.`,
        'Every solar eclipse seen from four places (height 0 m) by SearchLocalSolarEclipse and',
        "NextLocalSolarEclipse: those whose penumbra reaches the place while the Sun's centre",
        'stands above the horizon at their beginning or their end.',
        "kind: as seen from the place (partial, annular, total); utc: the peak, for reading.",
        'Instants are Julian Days in Universal Time (library ut + 2451545.0).',
        "begin, end: the Moon's disc first and last touches the Sun's; central_begin,",
        "  central_end: the Moon's disc wholly within the Sun's or the Sun's within the Moon's",
        '  (empty when the place is not in the path); peak: the place is nearest to the axis of',
        "  the Moon's shadow.",
        "*_altitude_deg: the Sun's centre, topocentric and refracted (the library's 'normal').",
        "obscuration: the fraction of the Sun's disc covered at the peak.",
    ]) + 'place,latitude_deg,longitude_deg,kind,utc,begin_jd_ut,begin_altitude_deg,' +
         'central_begin_jd_ut,peak_jd_ut,peak_altitude_deg,central_end_jd_ut,end_jd_ut,' +
         'end_altitude_deg,obscuration\n' + rows.join('\n') + '\n';
    writeFileSync(join(dataDir, 'local_solar_eclipses.csv'), text);
    return rows.length;
}

mkdirSync(dataDir, { recursive: true });
const phases = writePhases();
const eclipses = writeEclipses();
const apsides = writeApsides();
const positions = writeSkyPositions();
const riseSet = writeRiseSet();
const contacts = writeLunarContacts();
const local = writeLocalSolarEclipses();
console.log(`astronomy-engine ${libraryVersion}: ${phases} phases, ${eclipses} eclipses, ` +
            `${apsides} apsides, ${positions} sky positions, ${riseSet} risings, settings and ` +
            `transits, ${contacts} lunar eclipses with contacts, ${local} local solar eclipses ` +
            `written to ${dataDir}`);
