// Times astronomy-engine's answer to "when does the Moon rise and set at Berlin in 2027": every
// SearchRiseSet(Moon, observer, +1) and (..., -1) of the year from 2027-01-01 00:00 UT, as
// tools/refdata takes them for the reference table, beside astro_bench's MoonRiseSetYear (which
// finds the upper transits too).
//
//   node rise_set.mjs [--repetitions 5] [--against astro_bench.json]
//
// Prints the CPU time of the first year in the fresh process (while the JIT compiles, as one run
// of a program meets it), then the median over the repetitions of the whole year and per rising
// or setting; --against reads astro_bench's JSON output (with repetitions) and sets the median of
// MoonRiseSetYear beside it.
import {readFileSync} from 'node:fs';
import {Body, MakeTime, Observer, SearchRiseSet} from 'astronomy-engine';

function option(name, fallback) {
    const at = process.argv.indexOf(name);
    return at >= 0 && at + 1 < process.argv.length ? process.argv[at + 1] : fallback;
}

const repetitions = Number(option('--repetitions', '5'));
const berlin = new Observer(52.52, 13.405, 0);
const yearStart = new Date('2027-01-01T00:00:00Z');
const yearDays = 365;

function median(values) {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = Math.floor(sorted.length / 2);
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

// The year's risings and settings; returns how many and the CPU time in milliseconds.
function year() {
    const cpuBegin = process.cpuUsage();
    let count = 0;
    for (const direction of [+1, -1]) {
        let time = MakeTime(yearStart);
        const end = time.AddDays(yearDays);
        for (;;) {
            const found = SearchRiseSet(Body.Moon, berlin, direction, time, end.ut - time.ut);
            if (found === null) {
                break;
            }
            ++count;
            time = found.AddDays(0.01);
        }
    }
    const cpu = process.cpuUsage(cpuBegin);
    return {count, ms: (cpu.user + cpu.system) / 1000};
}

// The first year in this process, while the JIT compiles: what one run of a program meets.
const cold = year();
const runs = [];
let count = 0;
for (let i = 0; i < repetitions; ++i) {
    const run = year();
    runs.push(run.ms);
    count = run.count;
}
const theirs = median(runs);

console.log('The Moon rising and setting at Berlin in 2027: medians of CPU time');
let line = `astronomy-engine SearchRiseSet ${count} events ${theirs.toFixed(1).padStart(8)} ms` +
           ` (${(theirs * 1000 / count).toFixed(0)} us each)`;
const against = option('--against', '');
if (against) {
    const bench = JSON.parse(readFileSync(against, 'utf8'));
    const row = bench.benchmarks.find(
        (b) => b.run_name === 'MoonRiseSetYear' && b.aggregate_name === 'median');
    if (!row) {
        throw new Error(`MoonRiseSetYear median missing in ${against}`);
    }
    const ours = row.cpu_time * {ns: 1e-6, us: 1e-3, ms: 1, s: 1e3}[row.time_unit];
    line += `   Lunavista MoonRiseSetYear ${row.risings_settings} events ${ours.toFixed(2).padStart(6)} ms` +
            ` (${(ours * 1000 / row.risings_settings).toFixed(1)} us each)   ${(theirs / ours).toFixed(0)}x`;
}
console.log(line);
console.log(`astronomy-engine SearchRiseSet, the first year in a fresh process: ${cold.ms.toFixed(1)} ms`);
