// Times astronomy-engine's answer to "where is the Moon in the sky of Berlin now": Equator(Moon,
// time, observer, ofdate, aberration) and Horizon(..., 'normal'), as tools/refdata takes it for
// the reference positions; and its Equator alone. Then, from the same instant, the next lunar
// eclipse with its contacts (SearchLunarEclipse: peak and semi-durations) and the next solar
// eclipse seen from Berlin (SearchLocalSolarEclipse). Each call moves the instant by a little
// more than a minute, as astro_bench's MoonInSky, LunarEclipse and LocalSolarEclipse do (from
// 2026-12-20 21:15 UT).
//
//   node positions.mjs [--repetitions 5] [--min-ms 400] [--against astro_bench.json]
//
// Prints the median over the repetitions of the mean CPU time per call; --against reads
// astro_bench's JSON output (with repetitions) and sets its medians of the same questions beside
// them.
import {readFileSync} from 'node:fs';
import {
    Body,
    Equator,
    Horizon,
    MakeTime,
    Observer,
    SearchLocalSolarEclipse,
    SearchLunarEclipse,
} from 'astronomy-engine';

function option(name, fallback) {
    const at = process.argv.indexOf(name);
    return at >= 0 && at + 1 < process.argv.length ? process.argv[at + 1] : fallback;
}

const repetitions = Number(option('--repetitions', '5'));
const minMs = Number(option('--min-ms', '400'));
const berlin = new Observer(52.52, 13.405, 0);
const startUt = 2461395.38541667 - 2451545.0;  // days from J2000, UT
const stepDays = 0.000789;

function median(values) {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = Math.floor(sorted.length / 2);
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

// Mean CPU time per call in microseconds over a run of at least minMs of wall-clock time.
function timeRun(position) {
    let calls = 0;
    let ut = startUt;
    let sink = 0;
    const begin = process.hrtime.bigint();
    const cpuBegin = process.cpuUsage();
    do {
        sink += position(MakeTime(ut));
        ut += stepDays;
        ++calls;
    } while (process.hrtime.bigint() - begin < BigInt(minMs) * 1000000n);
    const cpu = process.cpuUsage(cpuBegin);
    if (Number.isNaN(sink)) {
        throw new Error('no position');
    }
    return (cpu.user + cpu.system) / calls;
}

const questions = [
    {
        heading: 'The Moon seen from Berlin: medians of CPU time per position',
        name: 'Equator + Horizon',
        against: 'MoonInSky',
        position: (time) => {
            const moon = Equator(Body.Moon, time, berlin, true, true);
            return Horizon(time, berlin, moon.ra, moon.dec, 'normal').altitude;
        },
    },
    {
        name: 'Equator',
        against: 'MoonSeries',
        position: (time) => Equator(Body.Moon, time, berlin, true, true).dec,
    },
    {
        heading: 'The next eclipses with their circumstances: medians of CPU time per answer',
        name: 'SearchLunarEclipse',
        against: 'LunarEclipse',
        position: (time) => SearchLunarEclipse(time).sd_penum,
    },
    {
        name: 'SearchLocalSolar…',
        against: 'LocalSolarEclipse',
        position: (time) => SearchLocalSolarEclipse(time, berlin).obscuration,
    },
];

const against = option('--against', '');
const ownMedian = against ? (() => {
    const bench = JSON.parse(readFileSync(against, 'utf8'));
    return (name) => {
        const row = bench.benchmarks.find((b) => b.run_name === name && b.aggregate_name === 'median');
        if (!row) {
            throw new Error(`${name} median missing in ${against}`);
        }
        return row.cpu_time * {ns: 1e-3, us: 1, ms: 1e3, s: 1e6}[row.time_unit];
    };
})() : null;

for (const question of questions) {
    if (question.heading) {
        console.log(question.heading);
    }
    timeRun(question.position);  // warm-up: the JIT compiles first
    const runs = [];
    for (let i = 0; i < repetitions; ++i) {
        runs.push(timeRun(question.position));
    }
    const theirs = median(runs);
    let line = `astronomy-engine ${question.name.padEnd(18)} ${theirs.toFixed(2).padStart(8)} us`;
    if (ownMedian) {
        const ours = ownMedian(question.against);
        line += `   Lunavista ${question.against.padEnd(17)} ${ours.toFixed(3).padStart(7)} us` +
                `   ${(theirs / ours).toFixed(0).padStart(4)}x`;
    }
    console.log(line);
}
