// Prints the medians (CPU time) of Google Benchmark's JSON output, one row per benchmark, and with
// a second file, the medians of an earlier build beside them with the speed-up:
//
//   node medians.mjs AFTER.json [BEFORE.json]
//
// Both files come from --benchmark_repetitions=N --benchmark_out=FILE --benchmark_out_format=json.
// Counters (the searches' "passes") are shown after the name.
import {readFileSync} from 'node:fs';

const [afterFile, beforeFile] = process.argv.slice(2);
if (!afterFile) {
    console.error('usage: node medians.mjs AFTER.json [BEFORE.json]');
    process.exit(2);
}

const scale = {ns: 1e-3, us: 1, ms: 1e3, s: 1e6};
const builtIn = new Set(['name', 'family_index', 'per_family_instance_index', 'run_name',
    'run_type', 'repetitions', 'threads', 'aggregate_name', 'aggregate_unit', 'iterations',
    'real_time', 'cpu_time', 'time_unit', 'label', 'repetition_index', 'error_occurred',
    'error_message']);

// run name -> {us, label, counters}
function medians(file) {
    const rows = new Map();
    for (const b of JSON.parse(readFileSync(file, 'utf8')).benchmarks) {
        if (b.aggregate_name !== 'median') {
            continue;
        }
        const counters = Object.keys(b).filter((key) => !builtIn.has(key))
            .map((key) => `${key}=${b[key]}`).join(' ');
        rows.set(b.run_name, {us: b.cpu_time * scale[b.time_unit], label: b.label ?? '', counters});
    }
    return rows;
}

function micros(us) {
    return us === undefined ? '-' : `${us < 10 ? us.toFixed(3) : us.toFixed(1)} us`;
}

const after = medians(afterFile);
const before = beforeFile ? medians(beforeFile) : null;
const names = [...after.keys()];
if (before) {
    names.push(...[...before.keys()].filter((name) => !after.has(name)));
}
const width = Math.max(...names.map((name) => {
    const row = after.get(name) ?? before.get(name);
    return `${name} ${row.label}`.length;
}));
if (before) {
    console.log(`  ${'benchmark'.padEnd(width)} ${'before'.padStart(11)} ${'after'.padStart(11)}  speed-up`);
}
for (const name of names) {
    const now = after.get(name);
    const then = before?.get(name);
    const row = now ?? then;
    const title = `${name} ${row.label}`.padEnd(width);
    const counters = now?.counters || then?.counters || '';
    if (before) {
        const speedUp = now && then ? `${(then.us / now.us).toFixed(1)}x` : '-';
        console.log(`  ${title} ${micros(then?.us).padStart(11)} ${micros(now?.us).padStart(11)} ${
            speedUp.padStart(9)}  ${counters}`);
    } else {
        console.log(`  ${title} ${micros(now.us).padStart(11)}  ${counters}`);
    }
}
