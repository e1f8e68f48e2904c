// Times astronomy-engine's answers to the five questions of the program's eclipse list, asked
// from one date: the next partial and total lunar eclipse, the next partial, total and annular
// solar eclipse. Each answer is searched afresh in every call, from the start date, stepping with
// NextLunarEclipse / NextGlobalSolarEclipse until an eclipse of the kind comes up (the program
// steps day by day through lunations; each does all the work its answer needs).
//
//   node eclipses.mjs [--date 2026-12-07] [--repetitions 5] [--min-ms 400] [--json]
//                     [--against astro_bench.json]
//
// The date is taken as 00:00 UT (the program reads it as 00:00 of its local clock; the searches
// of both start at that midnight). Prints, for each kind, the instant found and the median over
// the repetitions of the mean time per call. --against reads astro_bench's JSON output
// (--benchmark_format=json, with repetitions) and sets its NextEclipse/FixedDate medians (CPU
// time; the benchmark's fixed date is 2026-12-07) beside these.
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

// Mean microseconds per call over a run of at least minMs.
function timeRun(find) {
    let calls = 0;
    const begin = process.hrtime.bigint();
    let elapsedNs = 0n;
    do {
        find();
        ++calls;
        elapsedNs = process.hrtime.bigint() - begin;
    } while (elapsedNs < BigInt(minMs) * 1000000n);
    return Number(elapsedNs) / 1000 / calls;
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
if (against) {
    const bench = JSON.parse(readFileSync(against, 'utf8'));
    const medianOf = (name) => {
        const row = bench.benchmarks.find(
            (b) => b.run_name === name && b.aggregate_name === 'median');
        if (!row) {
            throw new Error(`${name} median missing in ${against}`);
        }
        const scale = {ns: 1e-3, us: 1, ms: 1e3, s: 1e6}[row.time_unit];
        return {us: row.cpu_time * scale, passes: row.passes};
    };
    console.log(`Next eclipse of each kind from ${date} 00:00: medians of CPU time per search`);
    console.log('kind            Lunavista   (passes)   astronomy-engine    ratio   instant (UT)');
    for (const [index, r] of results.entries()) {
        const own = medianOf(`NextEclipse/FixedDate/${index}`);
        console.log(`${r.name.padEnd(14)} ${own.us.toFixed(1).padStart(9)} us ${
            String(own.passes).padStart(7)}  ${r.medianUs.toFixed(1).padStart(12)} us ${
            (r.medianUs / own.us).toFixed(0).padStart(7)}x   ${r.peakUt.slice(0, 16)}`);
    }
    const ownTotal = results.reduce((sum, r, i) => sum + medianOf(`NextEclipse/FixedDate/${i}`).us, 0);
    const theirTotal = results.reduce((sum, r) => sum + r.medianUs, 0);
    console.log(`all five       ${ownTotal.toFixed(1).padStart(9)} us           ${
        theirTotal.toFixed(1).padStart(12)} us ${(theirTotal / ownTotal).toFixed(0).padStart(7)}x`);
} else if (asJson) {
    console.log(JSON.stringify({library: 'astronomy-engine', date, repetitions, results}));
} else {
    console.log(`astronomy-engine, next eclipse of each kind from ${date} 00:00 UT`);
    for (const r of results) {
        console.log(`${r.name.padEnd(14)} ${r.peakUt}  median ${r.medianUs.toFixed(1).padStart(10)} us`);
    }
}
