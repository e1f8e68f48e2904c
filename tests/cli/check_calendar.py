#!/usr/bin/python3
"""lunavista-cli's calendar file and its tsv and json records, read by independent parsers.

  check_calendar.py <lunavista-cli> <tests/data folder>

The calendar files of 1900-2100 with --apsides (four runs of 50 years; the reference tables end
with 2100) are read with Debian's python3-icalendar. Every event's DTSTART must lie within 2.5
minutes of the Universal Time of the same event in the independent reference tables
(moon_phases.csv, eclipses.csv), for perigees 40 and apogees 10 minutes (lunar_apsides.csv; the
series differ from the reference by that much), each event is matched to the nearest reference
event of its kind (eclipses: of its body, with the kind the program gives, or a disagreement
listed in eclipse_borderline.csv), and every reference event of the kinds the program lists must
be found once, penumbral lunar eclipses included. An apsis's description gives its distance
(within 25 km of the reference's, and the rounding), and a perigee is titled "Supermond" exactly
when a Full Moon of the same file lies within 24 hours. An eclipse's description gives its
phases in UTC in time order, greatest eclipse within 2.5 minutes of the reference, and its
magnitudes. An eclipse keeps the UID of the kind the window's list gives it where the listing's
kind differs (eclipse_borderline.csv). Without --apsides the file is the same less the apsides. Also: CRLF line ends,
no line over 75 octets, the same UIDs from a second run, reminders where asked for, the default
range, and the json and tsv records (json module; field counts) against the calendar and the
text lines, eclipse's records with their nulls and local circumstances too; and a place's
risings and settings (--rise-set) against moon_rise_set.csv.
"""

import bisect
import csv
import datetime
import json
import pathlib
import re
import subprocess
import sys

from icalendar import Calendar

CLI = sys.argv[1]
DATA = pathlib.Path(sys.argv[2])
UTC = datetime.timezone.utc
TOLERANCE = datetime.timedelta(seconds=150)
APSIS_TOLERANCE = {"perigee": datetime.timedelta(minutes=40),
                   "apogee": datetime.timedelta(minutes=10)}
DISTANCE_TOLERANCE_KM = 25.5  # the accuracy test's 25 km and the rounding to whole km
SUPERMOON_WITHIN = datetime.timedelta(hours=24)
CHUNKS = ["1900-01-01", "1950-01-01", "2000-01-01", "2050-01-01", "2101-01-01"]
# Events this close to the ends of the tables may lie just outside them on the other side.
EDGE = datetime.timedelta(days=1)
TABLE_START = datetime.datetime(1900, 1, 1, tzinfo=UTC)
TABLE_END = datetime.datetime(2101, 1, 1, tzinfo=UTC)

# SUMMARY -> (kind key, body or phase number, reference kind)
KINDS = {
    "Neumond": ("new_moon", 0, None),
    "Erstes Viertel": ("first_quarter", 1, None),
    "Vollmond": ("full_moon", 2, None),
    "Letztes Viertel": ("last_quarter", 3, None),
    "Halbschatten-Mondfinsternis": ("penumbral_lunar_eclipse", "lunar", "penumbral"),
    "Partielle Mondfinsternis": ("partial_lunar_eclipse", "lunar", "partial"),
    "Totale Mondfinsternis": ("total_lunar_eclipse", "lunar", "total"),
    "Partielle Sonnenfinsternis": ("partial_solar_eclipse", "solar", "partial"),
    "Totale Sonnenfinsternis": ("total_solar_eclipse", "solar", "total"),
    "Ringförmige Sonnenfinsternis": ("annular_solar_eclipse", "solar", "annular"),
    "Erdnähe": ("perigee", "apsis", "perigee"),
    "Erdnähe (Supermond)": ("perigee", "apsis", "perigee"),
    "Erdferne": ("apogee", "apsis", "apogee"),
}
DISTANCE = re.compile(r"Abstand Erde–Mond: (\d+) km")
LISTED_ECLIPSE_KINDS = {("lunar", "penumbral"), ("lunar", "partial"), ("lunar", "total"),
                        ("solar", "partial"), ("solar", "total"), ("solar", "annular")}
KEY_OF = {(which, kind): key for key, which, kind in KINDS.values()}
PHASE_LINE = re.compile(r"([^:]+): (\d\d)\.(\d\d)\.(\d{4}) (\d\d):(\d\d):(\d\d) UTC")
NUMBER_LINE = re.compile(r"(Größe|Größe im Kernschatten|Größe im Halbschatten|Gamma): "
                         r"-?\d+\.\d{3}")

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def run(*args):
    result = subprocess.run([CLI, *args], capture_output=True, check=False)
    check(result.returncode == 0 and result.stderr == b"",
          f"{args}: status {result.returncode}, stderr {result.stderr!r}")
    return result.stdout


def table(name):
    with open(DATA / name, encoding="utf-8") as f:
        return list(csv.DictReader(line for line in f if not line.startswith("#")))


def utc(text):
    return datetime.datetime.strptime(text, "%Y-%m-%dT%H:%M:%S.%fZ").replace(tzinfo=UTC)


def check_lines(raw, what):
    """CRLF after every line, none longer than 75 octets, valid UTF-8."""
    check(raw.endswith(b"\r\n"), f"{what}: the file does not end with CRLF")
    lines = raw.split(b"\r\n")[:-1]
    check(all(b"\n" not in line and b"\r" not in line for line in lines),
          f"{what}: a line break other than CRLF")
    longest = max(len(line) for line in lines)
    check(longest <= 75, f"{what}: a line of {longest} octets")
    raw.decode("utf-8")  # raises on a split or broken sequence


def events_of(raw, with_description=False):
    """(start, summary, uid, alarms[, description]) of every VEVENT, as the parser reads them."""
    events = []
    for event in Calendar.from_ical(raw).walk("VEVENT"):
        start = event.decoded("DTSTART")
        alarms = [(str(a["ACTION"]), a.decoded("TRIGGER"), str(a["DESCRIPTION"]))
                  for a in event.walk("VALARM")]
        fields = (start, str(event["SUMMARY"]), str(event["UID"]), alarms)
        if with_description:
            fields += (str(event["DESCRIPTION"]) if "DESCRIPTION" in event else None,)
        events.append(fields)
    return events


def eclipse_phases(description):
    """The instants of an eclipse's description, in its order, or None where a line is not one
    of a phase or a magnitude."""
    phases = []
    for line in (description or "").split("\n"):
        phase = PHASE_LINE.fullmatch(line)
        if phase:
            day, month, year, hour, minute, second = map(int, phase.groups()[1:])
            phases.append((phase.group(1), datetime.datetime(year, month, day, hour, minute,
                                                             second, tzinfo=UTC)))
        elif not NUMBER_LINE.fullmatch(line):
            return None
    return phases


def nearest(times, when):
    """Index of the time in the sorted list nearest to `when`."""
    i = bisect.bisect_left(times, when)
    return min((j for j in (i - 1, i) if 0 <= j < len(times)), key=lambda j: abs(times[j] - when))


def inside_tables(when):
    return TABLE_START + EDGE <= when < TABLE_END - EDGE


def check_against_reference():
    phases = {k: [] for k in range(4)}
    for row in table("moon_phases.csv"):
        phases[int(row["kind"])].append(utc(row["utc"]))
    eclipses = {"lunar": [], "solar": []}
    for row in table("eclipses.csv"):
        eclipses[row["body"]].append((utc(row["utc"]), row["kind"]))
    for body in eclipses.values():
        body.sort()
    # The calendar gives the listing's kinds, and keeps the UID of the window's where they differ.
    borderline_rows = table("eclipse_borderline.csv")
    borderline = {(row["date"], row["body"], row["reference"], row["listing"])
                  for row in borderline_rows}
    window_uid = {(row["date"], row["body"]): KEY_OF[(row["body"], row["lunavista"])]
                  for row in borderline_rows
                  if row["listing"] != row["lunavista"] and row["lunavista"] != "none"}
    apsides = {"perigee": [], "apogee": []}
    for row in table("lunar_apsides.csv"):
        apsides[row["kind"]].append((utc(row["utc"]), float(row["distance_km"])))
    for rows in apsides.values():
        rows.sort()

    matched = set()
    worst = {"phases": datetime.timedelta(0), "eclipses": datetime.timedelta(0),
             "perigee": datetime.timedelta(0), "apogee": datetime.timedelta(0)}
    worst_km = 0.0
    count = 0
    for first, until in zip(CHUNKS, CHUNKS[1:]):
        raw = run("ics", "--at", first, "--until", until, "--apsides")
        check_lines(raw, f"ics {first}..{until} --apsides")
        check(without_apsides(raw) == without_apsides(run("ics", "--at", first, "--until", until)),
              f"ics {first}..{until}: --apsides changes more than adding the apsides")
        events = events_of(raw, with_description=True)
        full_moons = sorted(start for start, summary, _, _, _ in events if summary == "Vollmond")
        for start, summary, uid, alarms, description in events:
            count += 1
            if not check(summary in KINDS, f"unknown SUMMARY {summary!r}"):
                continue
            key, which, kind = KINDS[summary]
            check(start.tzinfo is not None and start.utcoffset() == datetime.timedelta(0),
                  f"{uid}: DTSTART not in UTC")
            if kind is None or which == "apsis":
                check(uid == f"{start:%Y%m%d}-{key}@lunavista", f"UID {uid} for {summary} {start}")
            check(not alarms, f"{uid}: a reminder nobody asked for")
            check((description is not None) == (kind is not None), f"{uid}: DESCRIPTION")
            if which == "apsis":
                gap = abs(start - full_moons[nearest(full_moons, start)]) if full_moons else None
                if gap is not None and abs(gap - SUPERMOON_WITHIN) > datetime.timedelta(seconds=2):
                    check(("Supermond" in summary) == (kind == "perigee" and
                                                       gap <= SUPERMOON_WITHIN),
                          f"{uid}: {summary!r} with a Full Moon {gap} away")
            if not inside_tables(start):
                continue
            if which == "apsis":
                times = [t for t, _ in apsides[kind]]
                i = nearest(times, start)
                error = start - times[i]
                part = kind
                match = ("apsis", kind, i)
                distance = DISTANCE.fullmatch(description or "")
                if check(distance is not None, f"{uid}: DESCRIPTION {description!r}"):
                    km = abs(int(distance.group(1)) - apsides[kind][i][1])
                    check(km <= DISTANCE_TOLERANCE_KM, f"{start} {summary}: {km:.1f} km off")
                    worst_km = max(worst_km, km)
                check(abs(error) <= APSIS_TOLERANCE[kind],
                      f"{start} {summary}: {error.total_seconds():+.0f} s from the reference")
            elif kind is None:
                times = phases[which]
                i = nearest(times, start)
                error = start - times[i]
                part = "phases"
                match = ("phase", which, i)
            else:
                times = [t for t, _ in eclipses[which]]
                i = nearest(times, start)
                error = start - times[i]
                part = "eclipses"
                match = ("eclipse", which, i)
                reference_kind = eclipses[which][i][1]
                date = f"{times[i]:%Y-%m-%d}"
                check(reference_kind == kind or (date, which, reference_kind, kind) in borderline,
                      f"{start} {summary}: the reference calls it {reference_kind}, and "
                      f"eclipse_borderline.csv does not list it")
                check(uid == f"{start:%Y%m%d}-{window_uid.get((date, which), key)}@lunavista",
                      f"UID {uid} for {summary} {start}")
                described = eclipse_phases(description)
                greatest = [t for label, t in (described or []) if label == "Größte Finsternis"]
                check(described is not None and len(greatest) == 1 and
                      [t for _, t in described] == sorted(t for _, t in described),
                      f"{uid}: DESCRIPTION {description!r}")
                if greatest:
                    check(abs(greatest[0] - times[i]) <= TOLERANCE,
                          f"{uid}: greatest eclipse {greatest[0]}, the reference {times[i]}")
            check(which == "apsis" or abs(error) <= TOLERANCE,
                  f"{start} {summary}: {error.total_seconds():+.0f} s from the reference")
            check(match not in matched, f"{start} {summary}: a reference event found twice")
            matched.add(match)
            worst[part] = max(worst[part], abs(error))

    # Every reference event of a listed kind was found, except where the program gives no kind.
    for kind, times in phases.items():
        for i, when in enumerate(times):
            check(not inside_tables(when) or ("phase", kind, i) in matched,
                  f"phase {kind} of {when} missing from the calendar")
    for kind, rows in apsides.items():
        for i, (when, _) in enumerate(rows):
            check(not inside_tables(when) or ("apsis", kind, i) in matched,
                  f"{kind} of {when} missing from the calendar")
    no_kind = {(date, body) for date, body, _, listing in borderline if listing == "none"}
    for body, rows in eclipses.items():
        for i, (when, kind) in enumerate(rows):
            if (body, kind) in LISTED_ECLIPSE_KINDS and inside_tables(when) and \
                    (f"{when:%Y-%m-%d}", body) not in no_kind:
                check(("eclipse", body, i) in matched,
                      f"{body} {kind} eclipse of {when} missing from the calendar")
    print(f"{count} events 1900-2100; largest difference from the reference: phases "
          f"{worst['phases'].total_seconds():.0f} s, eclipses "
          f"{worst['eclipses'].total_seconds():.0f} s (tolerance {TOLERANCE.total_seconds():.0f} s), "
          f"perigees {worst['perigee'].total_seconds():.0f} s, apogees "
          f"{worst['apogee'].total_seconds():.0f} s, distances {worst_km:.1f} km")


def without_stamps(raw):
    return [line for line in raw.split(b"\r\n") if not line.startswith(b"DTSTAMP:")]


def without_apsides(raw):
    """The lines without DTSTAMP and the calendar's name, and without the apsides' VEVENTs."""
    return without_events(raw, rb"UID:\d{8}-(perigee|apogee)@lunavista")


def without_events(raw, uid_pattern):
    """The lines without DTSTAMP and the calendar's name, and without the VEVENTs whose UID line
    matches the pattern."""
    kept, event = [], []
    for line in without_stamps(raw):
        if line.startswith(b"X-WR-CALNAME:"):
            continue
        if line == b"BEGIN:VEVENT" or event:
            event.append(line)
            if line == b"END:VEVENT":
                if not any(re.fullmatch(uid_pattern, e) for e in event):
                    kept += event
                event = []
        else:
            kept.append(line)
    return kept


def check_runs_ranges_and_reminders():
    first = run("ics", "--at", "2000-01-01", "--until", "2050-01-01")
    second = run("ics", "--at", "2000-01-01", "--until", "2050-01-01")
    check([e[2] for e in events_of(first)] == [e[2] for e in events_of(second)],
          "the UIDs differ between two runs")
    check(without_stamps(first) == without_stamps(second), "two runs differ beyond DTSTAMP")

    # The default range: from the reading's day for 12 months, whatever the time of day.
    default = run("ics", "--at", "2026-12-20 21:15")
    check(without_stamps(default) == without_stamps(run("ics", "--at", "20.12.2026", "--until",
                                                        "2027-12-20")),
          "the default range is not the 12 months from the reading's day")
    check(without_stamps(default) == without_stamps(run("ics", "--at", "2026-12-20",
                                                        "--months", "12")),
          "the default range is not --months 12")
    events = events_of(default)
    check(48 <= len(events) <= 56, f"{len(events)} events in 12 months")

    reminded = run("ics", "--at", "2026-12-20", "--alarm", "30")
    check_lines(reminded, "ics --alarm 30")
    for start, summary, uid, alarms in events_of(reminded):
        check(alarms == [("DISPLAY", -datetime.timedelta(minutes=30), summary)],
              f"{uid}: reminder {alarms}")


def check_rise_set():
    """ics --place --rise-set: Berlin's two months of the reference table (from 2026-03-01 00:00
    UT, --utc), each rising and setting once within 60 s of the reference, the azimuth in its
    description within 0.1 degree, and the file's other events as without --rise-set."""
    place = ("--place", "52.52,13.405", "--utc", "--at", "2026-03-01", "--months", "2")
    raw = run("ics", *place, "--rise-set")
    check_lines(raw, "ics --rise-set")
    riseset = rb"UID:\d{8}-moon(rise|set)(-\d)?-52\.5200N13\.4050E@lunavista"
    check(without_events(raw, riseset) == without_events(run("ics", *place), riseset),
          "--rise-set changes the calendar's other events")
    words = {"Mondaufgang": "rise", "Monduntergang": "set"}
    ours = [(start, words[summary], uid, description)
            for start, summary, uid, _, description in events_of(raw, with_description=True)
            if summary in words]
    reference = [(utc(r["utc"]), r["kind"], float(r["azimuth_deg"]))
                 for r in table("moon_rise_set.csv")
                 if r["place"] == "Berlin" and r["kind"] in ("rise", "set") and
                 r["utc"].startswith(("2026-03", "2026-04"))]
    check(len(ours) == len(reference) > 100,
          f"--rise-set: {len(ours)} risings and settings, the reference {len(reference)}")
    check(len({uid for _, _, uid, _ in ours}) == len(ours), "--rise-set: a UID twice")
    for (start, kind, uid, description), (when, their_kind, azimuth) in zip(ours, reference):
        shown = re.fullmatch(r"Azimut (\d+\.\d)\u00b0 [NOSW]{1,2}", description or "")
        check(kind == their_kind and abs(start - when) <= datetime.timedelta(seconds=60) and
              shown is not None and abs(float(shown[1]) - azimuth) <= 0.1,
              f"{uid}: {start} {description!r}, the reference {their_kind} {when} {azimuth}")


def tsv_text(value):
    """A json value as the tsv writes it."""
    return "" if value is None else json.dumps(value) if isinstance(value, bool) else str(value)


def check_records():
    reading = "2026-12-20 21:15"
    calendar = {(KINDS[summary][0], start.strftime("%Y-%m-%dT%H:%M:%SZ")): summary
                for start, summary, _, _ in events_of(run("ics", "--at", reading, "--months",
                                                          "60", "--apsides"))}
    names = {
        "now": ["fraction", "utc", "kind", "event", "days", "hours", "minutes", "seconds", "dial"],
        "phases": ["utc", "kind", "days", "heading", "count", "date"],
        "eclipses": ["utc", "kind", "days", "heading", "count", "date"],
        "apsides": ["utc", "kind", "distance_km", "name", "date", "distance", "supermoon"],
    }
    counts = {"now": [[]], "phases": [[]], "eclipses": [[]], "apsides": [[], ["--count", "9"]]}
    for command, fields in names.items():
        for at, count in ((at, count) for at in (reading, "1601-01-01", "30827-12-31 23:59:59")
                          for count in counts[command]):
            args = (command, "--at", at, *count)
            records = json.loads(run(*args, "--format", "json").decode("utf-8"))
            lines = run(*args, "--format", "tsv").decode("utf-8").split("\n")
            text = [line.split("\t") for line in run(*args).decode("utf-8").split("\n")[:-1]]
            check(lines[-1] == "" and lines[0].split("\t") == fields,
                  f"{command} tsv: header {lines[0]!r}")
            rows = [line.split("\t") for line in lines[1:-1]]
            check(all(len(row) == len(fields) for row in rows), f"{command} tsv: field counts")
            want = int(count[1]) if count else {"now": 1, "phases": 4, "eclipses": 5,
                                                "apsides": 4}[command]
            check(len(records) == len(rows) == want,
                  f"{args}: {len(records)} json and {len(rows)} tsv records")
            for record, row, line in zip(records, rows, text):
                check(list(record) == fields, f"{command} json: fields {list(record)}")
                texts = [tsv_text(v) for v in record.values()]
                check(texts == row, f"{command}: json {texts} and tsv {row} differ")
                for field in ("fraction", "days", "hours", "minutes", "seconds", "distance_km"):
                    check(field not in record or isinstance(record[field], (int, float)),
                          f"{command} json: {field} is not a number")
                if command == "apsides":
                    check(isinstance(record["supermoon"], bool), f"{args}: supermoon not a bool")
                    check(line == [record["name"], record["date"], record["distance"]] +
                          (["Supermond"] if record["supermoon"] else []),
                          f"{args}: the line {line} and the record {record} differ")
                    check(record["distance"] == f"{record['distance_km']} km",
                          f"{args}: distances {record['distance']!r}, {record['distance_km']}")
                    check(record["kind"] == ("perigee" if record["name"] == "Erdnähe"
                                             else "apogee"), f"{args}: kind of {record}")
                elif command != "now":
                    check(line == [record["heading"], record["count"], record["date"]],
                          f"{args}: the line {line} and the record {record} differ")
                if at == reading and command != "now":
                    summary = calendar.get((record["kind"], record["utc"]))
                    check(summary is not None,
                          f"{command}: {record['kind']} {record['utc']} is not in the calendar")
                    check(summary is None or command != "apsides" or
                          ("Supermond" in summary) == record["supermoon"],
                          f"{command}: {record} is titled {summary!r} in the calendar")


ECLIPSE_FIELDS = ["kind", "greatest", "penumbral_begin", "partial_begin", "total_begin",
                  "total_end", "partial_end", "penumbral_end", "umbral_magnitude",
                  "penumbral_magnitude", "gamma", "magnitude"]
LOCAL_FIELDS = ["begin", "maximum", "end", "central_begin", "central_end", "obscuration",
                "local_magnitude", "sun_altitude_begin_deg", "sun_altitude_deg",
                "sun_altitude_end_deg"]
LUNAR_CONTACTS = ECLIPSE_FIELDS[2:8]


def check_eclipse_records():
    """eclipse's records: the fields of the union, null where absent, the same in json and tsv (the
    local circumstances flattened), in time order, and each eclipse in the calendar of the span."""
    start = "2026-08-01"
    calendar = {}
    for event_start, summary, _, _ in events_of(run("ics", "--at", start, "--months", "60")):
        calendar.setdefault(KINDS[summary][0], []).append(event_start)
    for place in ([], ["--place", "52.52,13.405"]):
        args = ("eclipse", "--at", start, "--count", "12", "--utc", *place)
        records = json.loads(run(*args, "--format", "json").decode("utf-8"))
        lines = run(*args, "--format", "tsv").decode("utf-8").split("\n")
        fields = ECLIPSE_FIELDS + (["visible", "moon_altitude_deg", "local_circumstances"]
                                   if place else [])
        flat = ECLIPSE_FIELDS + (["visible", "moon_altitude_deg"] +
                                 [n if n.startswith("local_") else "local_" + n
                                  for n in LOCAL_FIELDS] if place else [])
        check(lines[0].split("\t") == flat and lines[-1] == "", f"{args} tsv: header {lines[0]!r}")
        check(len(records) == len(lines) - 2 == 12, f"{args}: {len(records)} records")
        greatest = [utc(r["greatest"].replace("Z", ".0Z")) for r in records]
        check(greatest == sorted(greatest), f"{args}: not in time order")
        kinds = {r["kind"] for r in records}
        check({"penumbral_lunar_eclipse", "total_solar_eclipse"} <= kinds, f"{args}: {kinds}")
        for record, line, when in zip(records, lines[1:], greatest):
            where = f"{args} {record['kind']} {record['greatest']}"
            check(list(record) == fields, f"{where}: fields {list(record)}")
            local = record.get("local_circumstances")
            values = [record[n] for n in fields if n != "local_circumstances"]
            values += ([local[n] for n in LOCAL_FIELDS] if local else [None] * len(LOCAL_FIELDS)) \
                if place else []
            texts = line.split("\t")
            check(len(texts) == len(values) and
                  all(float(t) == v if isinstance(v, float) else tsv_text(v) == t
                      for v, t in zip(values, texts)), f"{where}: json and tsv differ")
            lunar = record["kind"].endswith("lunar_eclipse")
            partial = record["kind"] != "penumbral_lunar_eclipse"
            total = record["kind"] == "total_lunar_eclipse"
            present = [lunar, lunar and partial, total, total, lunar and partial, lunar,
                       lunar, lunar, not lunar, not lunar]
            check([record[n] is not None for n in ECLIPSE_FIELDS[2:]] == present,
                  f"{where}: nulls {record}")
            contacts = [record[n] for n in LUNAR_CONTACTS if record[n] is not None]
            check(sorted(contacts) == contacts and (not lunar or contacts[0] < record["greatest"]
                                                     < contacts[-1]), f"{where}: contacts")
            if place:
                check(isinstance(record["visible"], bool), f"{where}: visible")
                check((record["moon_altitude_deg"] is not None) == lunar, f"{where}: Moon")
                check(local is None or (not lunar and record["visible"] and
                                        local["begin"] < local["maximum"] < local["end"] and
                                        (local["central_begin"] is None) ==
                                        (local["central_end"] is None)), f"{where}: {local}")
            starts = calendar.get(record["kind"], [])
            check(any(abs(s - when) <= (TOLERANCE if lunar else datetime.timedelta(0))
                      for s in starts), f"{where}: not in the calendar")


check_against_reference()
check_runs_ranges_and_reminders()
check_rise_set()
check_records()
check_eclipse_records()
for message in failures[:40]:
    print("FAIL:", message)
print(f"{len(failures)} failed" if failures else "calendar file and records: all checks passed")
sys.exit(1 if failures else 0)
