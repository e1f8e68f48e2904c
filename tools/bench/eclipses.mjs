// Times astronomy-engine's answers to the five questions of the program's eclipse list, asked
// from one date: the next partial and total lunar eclipse, the next partial, total and annular
// solar eclipse. Each answer is searched afresh in every call, from the start date, stepping with
// NextLunarEclipse / NextGlobalSolarEclipse until an eclipse of the kind comes up (the program
// steps day by day through lunations; each does all the work its answer needs).
//
//   node eclipses.mjs [--date 2026-12-07] [--repetitions 5] [--min-ms 400] [--json]
//                     [--against astro_bench.json [--before astro_bench.json]]
//
// The date is taken as 00:00 UT (the program reads it as 00:00 of its local clock; the searches
// of both start at that midnight). Prints, for each kind, the instant found and the median over
// the repetitions of the mean CPU time per call. --against reads astro_bench's JSON output
// (--benchmark_format=json, with repetitions) and sets its NextEclipse/FixedDate medians (CPU
// time; the benchmark's fixed date is 2026-12-07) beside these; --before adds those of an earlier
// build.
import {readFileSync} from 'node:fs';
import {
    MakeTime,
    NextGlobalSolarEclipse,
    NextLunarEclipse,
    SearchGlobalSolarEclipse,
    SearchLunarEclipse,
} from 'astronomy-engine';

function option(name, fallback) {
    const at = process.argv.indexOf(name);
    return at >= 0 && at + 1 < process.argv.length ? process.argv[at + 1] : fallback;
}

const date = option('--date', '2026-12-07');
const repetitions = Number(option('--repetitions', '5'));
const minMs = Number(option('--min-ms', '400'));
const asJson = process.argv.includes('--json');
const start = new Date(`${date}T00:00:00Z`);

function nextLunar(kind) {
    let eclipse = SearchLunarEclipse(MakeTime(start));
    while (eclipse.kind !== kind) {
        eclipse = NextLunarEclipse(eclipse.peak);
    }
    return eclipse.peak;
}

function nextSolar(kind) {
    let eclipse = SearchGlobalSolarEclipse(MakeTime(start));
    while (eclipse.kind !== kind) {
        eclipse = NextGlobalSolarEclipse(eclipse.peak);
    }
    return eclipse.peak;
}

// In the order of the program's eclipse set and of astro_bench's NextEclipse/<n> benchmarks.
const searches = [
    {name: 'PartialLunar', find: () => nextLunar('partial')},
    {name: 'TotalLunar', find: () => nextLunar('total')},
    {name: 'PartialSolar', find: () => nextSolar('partial')},
    {name: 'TotalSolar', find: () => nextSolar('total')},
    {name: 'AnnularSolar', find: () => nextSolar('annular')},
];

function median(values) {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = Math.floor(sorted.length / 2);
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

// Mean CPU time per call in microseconds (user and system time of the node process, so that a
// busy machine slows neither side's figure) over a run of at least minMs of wall-clock time.
function timeRun(find) {
    let calls = 0;
    const begin = process.hrtime.bigint();
    const cpuBegin = process.cpuUsage();
    do {
        find();
        ++calls;
    } while (process.hrtime.bigint() - begin < BigInt(minMs) * 1000000n);
    const cpu = process.cpuUsage(cpuBegin);
    return (cpu.user + cpu.system) / calls;
}

const results = [];
for (const search of searches) {
    const found = search.find();
    timeRun(search.find);  // warm-up: the JIT compiles the searches first
    const runs = [];
    for (let i = 0; i < repetitions; ++i) {
        runs.push(timeRun(search.find));
    }
    results.push({
        name: search.name,
        peakUt: found.date.toISOString(),
        medianUs: median(runs),
        runsUs: runs,
    });
}

const against = option('--against', '');
const before = option('--before', '');
if (against) {
    const medianOf = (file) => {
        const bench = JSON.parse(readFileSync(file, 'utf8'));
        return (name) => {
            const row = bench.benchmarks.find(
                (b) => b.run_name === name && b.aggregate_name === 'median');
            if (!row) {
                throw new Error(`${name} median missing in ${file}`);
            }
            const scale = {ns: 1e-3, us: 1, ms: 1e3, s: 1e6}[row.time_unit];
            return {us: row.cpu_time * scale, passes: row.passes};
        };
    };
    const ownOf = medianOf(against);
    const earlierOf = before ? medianOf(before) : null;
    const name = (index) => `NextEclipse/FixedDate/${index}`;
    const us = (value) => `${value.toFixed(value < 10 ? 2 : 1).padStart(8)} us`;
    const ratio = (theirs, ours) => `${(theirs / ours).toFixed(0).padStart(6)}x`;
    console.log(`Next eclipse of each kind from ${date} 00:00: medians of CPU time per search`);
    console.log(`kind          ${earlierOf ? '     before (ratio)  ' : ''}   Lunavista (passes)` +
        '  astronomy-engine    ratio  instant (UT)');
    let ownTotal = 0;
    let earlierTotal = 0;
    let theirTotal = 0;
    for (const [index, r] of results.entries()) {
        const own = ownOf(name(index));
        ownTotal += own.us;
        theirTotal += r.medianUs;
        let earlierColumn = '';
        if (earlierOf) {
            const earlier = earlierOf(name(index));
            earlierTotal += earlier.us;
            earlierColumn = `${us(earlier.us)} ${ratio(r.medianUs, earlier.us)}  `;
        }
        console.log(`${r.name.padEnd(13)} ${earlierColumn}${us(own.us)} ${
            String(own.passes).padStart(7)}  ${(r.medianUs / 1000).toFixed(3).padStart(13)} ms ${
            ratio(r.medianUs, own.us)}  ${r.peakUt.slice(0, 16)}`);
    }
    const earlierColumn = earlierOf ? `${us(earlierTotal)} ${ratio(theirTotal, earlierTotal)}  ` : '';
    console.log(`${'all five'.padEnd(13)} ${earlierColumn}${us(ownTotal)}          ${
        (theirTotal / 1000).toFixed(3).padStart(13)} ms ${ratio(theirTotal, ownTotal)}`);
} else if (asJson) {
    console.log(JSON.stringify({library: 'astronomy-engine', date, repetitions, results}));
} else {
    console.log(`astronomy-engine, next eclipse of each kind from ${date} 00:00 UT`);
    for (const r of results) {
        console.log(`${r.name.padEnd(14)} ${r.peakUt}  median ${r.medianUs.toFixed(1).padStart(10)} us`);
    }
}
