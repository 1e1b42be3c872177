#!/usr/bin/env python3
"""Plants each fault of faults.py, one at a time, into a copy of the committed
tree, rebuilds, runs the whole suite and reports which test programs caught it.

Usage: scripts/fault_check/run.py [--list] [NAME...]   (from the repository root)
The copy and its build live in build-faults/; the working tree is never touched.
"""
import os, runpy, shutil, subprocess, sys, time

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.dirname(os.path.dirname(here))
faults = runpy.run_path(os.path.join(here, 'faults.py'))['FAULTS']
args = sys.argv[1:]
if args[:1] == ['--list']:
    print('\n'.join(f[0] for f in faults))
    sys.exit(0)
wanted = [f for f in faults if not args or f[0] in args]

work = os.path.join(root, 'build-faults')
tree, build = os.path.join(work, 'tree'), os.path.join(work, 'build')
shutil.rmtree(tree, ignore_errors=True)
os.makedirs(tree)
# -m: fresh times, so objects left by an earlier run's last fault are rebuilt.
subprocess.run(f'git -C "{root}" archive HEAD | tar -x -m -C "{tree}"', shell=True, check=True)
launcher = ['-DCMAKE_CXX_COMPILER_LAUNCHER=ccache'] if shutil.which('ccache') else []
subprocess.run(['cmake', '-S', tree, '-B', build, *launcher], check=True, stdout=subprocess.DEVNULL)
subprocess.run(['cmake', '--build', build, '-j2'], check=True, stdout=subprocess.DEVNULL)

# A planted fault may switch off the loopback-only guard, and a test would
# then really send to a device's default address: the suite runs in a
# network namespace with only the loopback interface (root, or a system
# that allows unprivileged user namespaces), else refuses to run.
isolated = ['unshare', '-n', '-r', 'sh', '-c', 'ip link set lo up && exec "$0" "$@"']
if os.geteuid() == 0:
    isolated = ['unshare', '-n', 'sh', '-c', 'ip link set lo up && exec "$0" "$@"']
if subprocess.run(isolated + ['true'], capture_output=True).returncode != 0:
    sys.exit('fault check: cannot run the suite in a loopback-only network namespace (unshare -n); not run')

results = []
for name, path, committed, faulty in wanted:
    file = os.path.join(tree, path)
    original = open(file).read()
    if original.count(committed) != 1:
        verdict = 'NOT PLANTED (the committed text is gone or repeated)'
    else:
        open(file, 'w').write(original.replace(committed, faulty))
        try:
            started = time.time()
            if subprocess.run(['cmake', '--build', build, '-j2'], capture_output=True).returncode:
                verdict = 'BUILD FAILED'
            else:
                run = subprocess.run(isolated + ['ctest', '-j2', '--timeout', '120'], cwd=build,
                                     capture_output=True, text=True)
                failed = [line.split(' - ', 1)[1].split('(')[0].strip() for line in run.stdout.splitlines()
                          if ' - ' in line and line.strip()[:1].isdigit()]
                verdict = 'caught by ' + ', '.join(failed) if run.returncode else 'MISSED'
            verdict += f'  ({time.time() - started:.0f} s)'
        finally:
            open(file, 'w').write(original)
    results.append((name, verdict))
    print(f'{name:50} {verdict}', flush=True)

caught = sum(1 for _, verdict in results if verdict.startswith('caught'))
print(f'caught {caught} of {len(results)}')
sys.exit(0 if caught == len(results) else 1)
