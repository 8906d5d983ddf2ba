# A one-node Slurm cluster of our own, for the sharded-run test and its benchmark: sourced, not
# run. slurm_cluster_start FOLDER starts munged, slurmctld and slurmd as children of the calling
# shell with everything (key, socket, state, logs, slurm.conf) under FOLDER, and exports
# SLURM_CONF for the client commands; slurm_cluster_stop ends them again by their ids.
# Needs root and the Debian packages munge, slurmctld, slurmd and slurm-client.

slurm_cluster_pids=()

# Problems that keep the cluster from starting here, one per line; nothing when it can.
slurm_cluster_missing() {
    local tool
    for tool in munged slurmctld slurmd sbatch scontrol sinfo; do
        command -v "$tool" >/dev/null ||
            echo "$tool is missing: run scripts/setup (packages munge slurmctld slurmd slurm-client)"
    done
    [ "$(id -u)" -eq 0 ] || echo "slurmd must run as root"
}

# A port nothing listens on, picked at random to stay clear of other clusters on this machine.
slurm_cluster_free_port() {
    local port
    while :; do
        port=$((20000 + RANDOM % 20000))
        if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
            echo "$port"
            return
        fi
    done
}

slurm_cluster_start() {
    local root=$1 _
    mkdir -p "$root"/{etc,munge,state/ctld,state/d,log,run}
    # Munge: a key of our own and a socket in our folder; --force because the folder sits under
    # a world-writable /tmp, which munged otherwise refuses.
    head -c 1024 /dev/urandom >"$root/munge/munge.key"
    chmod 700 "$root/munge" && chmod 400 "$root/munge/munge.key"
    local socket="$root/munge/munge.socket"
    munged --foreground --force --key-file="$root/munge/munge.key" --socket="$socket" \
        --pid-file="$root/run/munged.pid" --log-file="$root/log/munged.log" --seed-file="$root/munge/seed" \
        >"$root/log/munged.out" 2>&1 &
    slurm_cluster_pids+=($!)
    for _ in $(seq 50); do [ -S "$socket" ] && break; sleep 0.1; done
    if [ ! -S "$socket" ]; then
        cat "$root/log/munged.out" "$root/log/munged.log" 2>/dev/null
        echo "munged did not start" >&2
        return 1
    fi

    local ctld_port slurmd_port host cpus
    ctld_port=$(slurm_cluster_free_port)
    slurmd_port=$(slurm_cluster_free_port)
    [ "$ctld_port" != "$slurmd_port" ] || slurmd_port=$((ctld_port + 1))
    host=$(hostname -s)
    cpus=$(slurmd -C | sed -n '1s/.*CPUs=\([0-9]*\).*/\1/p')
    export SLURM_CONF="$root/etc/slurm.conf"
    # No accounting database: slurmctld writes each finished task (its state and exit code) to
    # the job completion log instead, which the callers read.
    cat >"$SLURM_CONF" <<CONF
ClusterName=slidemilltest
SlurmctldHost=$host
SlurmctldPort=$ctld_port
SlurmdPort=$slurmd_port
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$socket
StateSaveLocation=$root/state/ctld
SlurmdSpoolDir=$root/state/d
SlurmctldPidFile=$root/run/slurmctld.pid
SlurmdPidFile=$root/run/slurmd.pid
SlurmctldLogFile=$root/log/slurmctld.log
SlurmdLogFile=$root/log/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
JobCompType=jobcomp/filetxt
JobCompLoc=$root/log/jobcomp.txt
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
SchedulerType=sched/builtin
MpiDefault=none
ReturnToService=2
MinJobAge=600
NodeName=$host NodeAddr=127.0.0.1 CPUs=$cpus State=UNKNOWN
PartitionName=test Nodes=$host Default=YES MaxTime=INFINITE State=UP
CONF
    slurmctld -D -c -f "$SLURM_CONF" >"$root/log/slurmctld.out" 2>&1 &
    slurm_cluster_pids+=($!)
    slurmd -D -f "$SLURM_CONF" >"$root/log/slurmd.out" 2>&1 &
    slurm_cluster_pids+=($!)
    for _ in $(seq 100); do
        if sinfo -h -N -o '%T' 2>/dev/null | grep -qE '^(idle|mixed|allocated)'; then
            SLURM_CLUSTER_DESCRIPTION="$host, $cpus CPUs, ports $ctld_port/$slurmd_port"
            return 0
        fi
        sleep 0.3
    done
    tail -n 20 "$root"/log/slurmctld.log "$root"/log/slurmd.log "$root"/log/*.out 2>/dev/null
    echo "the Slurm node did not come up" >&2
    return 1
}

# Ends the daemons this shell started, by their ids: slurmd first so that no task outlives it,
# munged last. Safe under "set -e". SLURM_CLUSTER_ENDED then lists their ids, to check that they are gone.
slurm_cluster_stop() {
    local i pid _
    for ((i = ${#slurm_cluster_pids[@]} - 1; i >= 0; i--)); do
        kill -TERM "${slurm_cluster_pids[i]}" 2>/dev/null || true
    done
    for pid in "${slurm_cluster_pids[@]}"; do
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    SLURM_CLUSTER_ENDED=("${slurm_cluster_pids[@]}")
    slurm_cluster_pids=()
}
