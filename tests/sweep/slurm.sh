#!/usr/bin/env bash
# The guide's Slurm recipe, run: a one-node Slurm of its own in a temporary folder (munged with
# a key of its own, slurmctld and slurmd on ports of their own), the guide's job array script
# submitted with sbatch, its parts merged with the guide's command: the same rows as
# `lumora-sweep --jobs 1`. The daemons are stopped afterwards. Skips (exit status 77) with the
# reason where Slurm cannot start: not root, or Slurm or munge missing or refusing to start.
# Usage: slurm.sh LUMORA_SWEEP ASSETS_DIR GUIDE
set -uo pipefail
sweep="$(realpath "$1")"
assets="$(realpath "$2")"
guide="$3"
work="$(mktemp -d /tmp/lumora-slurm-XXXXXX)"
pids=()
stop() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${pids[@]}"; do
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  done
  rm -rf "$work"
}
trap stop EXIT
skip() { echo "SKIP: $*"; exit 77; }
fail() {
  echo "FAIL: $*" >&2
  for log in "$work"/*.log "$work"/run/slurm-*.out; do
    [ -s "$log" ] && { echo "--- $log" >&2; tail -n 15 "$log" >&2; }
  done
  exit 1
}
# Waits up to SECONDS for a condition.
wait_for() {  # SECONDS CONDITION
  local tries=$(($1 * 10))
  for _ in $(seq "$tries"); do eval "$2" && return 0; sleep 0.1; done
  return 1
}

# Starts a daemon that writes its process id to PID_FILE, and keeps the id to stop it by.
start() {  # NAME PID_FILE COMMAND...
  local name="$1" pid_file="$2"
  shift 2
  "$@" 2>>"$work/$name.log" && wait_for 10 '[ -s "$pid_file" ]' ||
    skip "$name does not start: $(tail -n1 "$work/$name.log")"
  pids+=("$(cat "$pid_file")")
}

[ "$(id -u)" = 0 ] || skip "a one-node Slurm of its own needs root"
for tool in munged slurmctld slurmd sbatch squeue scontrol; do
  command -v "$tool" >/dev/null || skip "$tool is missing (scripts/install-deps test installs slurm-wlm and munge)"
done

# The guide's job array script and its merging command, as the guide prints them.
script="$(awk '/^```sh$/ { block = ""; on = 1; next } /^```$/ { if (on && block ~ /^#!\/bin\/bash\n#SBATCH --array/) { printf "%s", block; exit } on = 0; next }
  on { block = block $0 "\n" }' "$guide")"
merge="$(grep -m1 -F '{ head -n 1 part-0.csv;' "$guide")"
[ -n "$script" ] && [ -n "$merge" ] || fail "the guide has no Slurm array script or merging command"
tasks="$(sed -nE 's/^#SBATCH --array=0-([0-9]+)$/\1/p' <<<"$script")"
cpus="$(sed -nE 's/^#SBATCH --cpus-per-task=([0-9]+)$/\1/p' <<<"$script")"
[ -n "$tasks" ] && [ -n "$cpus" ] || fail "the array script names no --array=0-N or --cpus-per-task"

# munged with a key and a socket of its own.
mkdir -p "$work"/{munge,state,spool,run}
chmod 0700 "$work/munge"
dd if=/dev/urandom of="$work/munge/munge.key" bs=1024 count=1 status=none
chmod 0400 "$work/munge/munge.key"
socket="$work/munge/munge.socket"
start munged "$work/munge/munged.pid" munged --force --key-file="$work/munge/munge.key" \
  --socket="$socket" --pid-file="$work/munge/munged.pid" --log-file="$work/munged.log" \
  --seed-file="$work/munge/munged.seed"

# One node, this host, with enough processors for every task at once (the node's own count
# is overridden): each task's shard is small.
host="$(hostname -s)"
port=$((20000 + RANDOM % 20000))
export SLURM_CONF="$work/slurm.conf"
cat >"$SLURM_CONF" <<EOF
ClusterName=lumora-test
SlurmctldHost=$host
SlurmctldPort=$port
SlurmdPort=$((port + 1))
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$socket
StateSaveLocation=$work/state
SlurmdSpoolDir=$work/spool
SlurmctldPidFile=$work/slurmctld.pid
SlurmdPidFile=$work/slurmd.pid
SlurmctldLogFile=$work/slurmctld.log
SlurmdLogFile=$work/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
SlurmdParameters=config_overrides
NodeName=$host CPUs=$(((tasks + 1) * cpus)) State=UNKNOWN
PartitionName=lumora Nodes=$host Default=YES MaxTime=INFINITE State=UP
EOF
start slurmctld "$work/slurmctld.pid" slurmctld -i
start slurmd "$work/slurmd.pid" slurmd
wait_for 30 'scontrol show node "$host" 2>/dev/null | grep -qE "State=(IDLE|MIXED)"' ||
  skip "the node does not become idle: $(scontrol show node "$host" 2>&1 | grep -o 'State=[^ ]*')"

# A sweep of more runs than tasks, so that every shard has one, and its rows from one process.
cd "$work/run"
cp "$assets/lmr.sav" base.sav
printf 'settings base.sav\nframes 40\nrepetitions 2\nvary all communication 0 1000 2000 3000\nvary 1 population 50 100\n' >exp.txt
"$sweep" exp.txt --jobs 1 --assets "$assets" >expected.csv || fail "lumora-sweep --jobs 1 failed"
sed "s#/path/to/media#$assets#" <<<"$script" >sweep.sh

export PATH="$(dirname "$sweep"):$PATH"
job="$(sbatch --parsable sweep.sh 2>"$work/sbatch.log")" || fail "sbatch: $(cat "$work/sbatch.log")"
job="${job%%;*}"
wait_for 90 '[ -z "$(squeue -h -j "$job" 2>/dev/null)" ]' || fail "the job array $job did not end"
[ "$(ls part-*.csv 2>/dev/null | wc -l)" = $((tasks + 1)) ] ||
  fail "$(ls part-*.csv 2>/dev/null | wc -l) parts, not $((tasks + 1))"
eval "$merge"
cmp -s expected.csv table.csv || fail "the merged parts differ from --jobs 1: $(diff expected.csv table.csv | head -5)"
echo "PASS: $((tasks + 1)) tasks of job $job, $(($(wc -l <table.csv) - 1)) rows"
