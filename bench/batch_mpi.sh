#!/usr/bin/env bash
# Positions per second of "velmora-sim batch difficulty" on one machine and under mpirun with 1, 2
# and 3 ranks of one thread each, and the cost of MPI against the one-machine run on the same cores.
# Each figure is the fastest of REPETITIONS runs (on a busy machine the others mostly measure the
# neighbours); "calcul" is the command's own time, "total" adds the start of mpirun.
# usage: bench/batch_mpi.sh [BUILD_DIR] [REPETITIONS] [POSITIONS]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
repetitions=${2:-3}
nbPositions=${3:-48}
sim=$build/cli/velmora-sim
# about a third of a second per position
grille=(--trials 4,4,4,2,0,0)
export OMPI_ALLOW_RUN_AS_ROOT=1 OMPI_ALLOW_RUN_AS_ROOT_CONFIRM=1 OMPI_MCA_btl_vader_single_copy_mechanism=none

travail=$(mktemp -d "${TMPDIR:-/tmp}/velmora-bench-batch.XXXXXX")
trap 'rm -rf "$travail"' EXIT
mkdir -p "$travail/positions"
i=0
while [ "$i" -lt "$nbPositions" ]; do
  for f in "$here"/examples/*.vel; do
    [ "$i" -lt "$nbPositions" ] || break
    k=$((i / 6))
    awk -v k="$k" -F= '
      $1 == "P1x" { printf "P1x=%.3f\n", $2 + 1.5 * (k % 5); next }
      $1 == "P2y" { printf "P2y=%.3f\n", $2 - 3 * (k % 7); next }
      { print }' "$f" >"$travail/positions/p$(printf %03d "$i")_$(basename "$f")"
    i=$((i + 1))
  done
done

# mesure FILS [LANCEUR...]: prints "calcul total cpu" in seconds, each the least of the repetitions;
# cpu is the processor time of every process of the run (user + system), which a busy machine
# hardly changes
mesure() {
  local fils=$1
  shift
  local meilleur_calcul=999999 meilleur_total=999999 meilleur_cpu=999999
  for _ in $(seq 1 "$repetitions"); do
    rm -rf "$travail/sortie"
    local debut fin calcul total cpu
    debut=$(date +%s.%N)
    TIMEFORMAT='%U %S'
    { time "$@" "$sim" batch difficulty "$travail/positions" "${grille[@]}" --threads "$fils" \
      --out "$travail/sortie" >"$travail/sortie.txt"; } 2>"$travail/cpu.txt"
    fin=$(date +%s.%N)
    calcul=$(sed -n 's/^temps : \([0-9.]*\) s$/\1/p' "$travail/sortie.txt")
    total=$(echo "$fin - $debut" | bc -l)
    cpu=$(tail -n 1 "$travail/cpu.txt" | awk '{ print $1 + $2 }')
    meilleur_calcul=$(echo "if ($calcul < $meilleur_calcul) $calcul else $meilleur_calcul" | bc -l)
    meilleur_total=$(echo "if ($total < $meilleur_total) $total else $meilleur_total" | bc -l)
    meilleur_cpu=$(echo "if ($cpu < $meilleur_cpu) $cpu else $meilleur_cpu" | bc -l)
  done
  echo "$meilleur_calcul $meilleur_total $meilleur_cpu"
}

ligne() {
  local nom=$1 calcul=$2 total=$3 cpu=$4
  printf "%-34s %8.2f s %8.2f s %11.2f %8.2f s\n" "$nom" "$calcul" "$total" "$(echo "$nbPositions / $calcul" | bc -l)" "$cpu"
}

mpi=(mpirun --oversubscribe --allow-run-as-root)
echo "$nbPositions positions, ${grille[*]}, $(nproc) cœurs, meilleur de $repetitions"
printf "%-34s %10s %10s %11s %10s\n" "" "calcul" "total" "positions/s" "cpu"
read -r l1c l1t l1p < <(mesure 1)
ligne "une machine, 1 fil" "$l1c" "$l1t" "$l1p"
read -r l2c l2t l2p < <(mesure 2)
ligne "une machine, 2 fils" "$l2c" "$l2t" "$l2p"
for n in 1 2 3; do
  read -r c t p < <(mesure 1 "${mpi[@]}" -np "$n")
  ligne "mpirun -np $n, 1 fil par rang" "$c" "$t" "$p"
  eval "m${n}c=$c m${n}t=$t m${n}p=$p"
done
pourcent() { printf "%+.1f %%" "$(echo "($1 / $2 - 1) * 100" | bc -l)"; }
# MPI against one machine on the same cores: 1 rank against 1 thread, 2 ranks against 2 threads
echo "surcoût de MPI, temps de calcul : 1 rang $(pourcent "$m1c" "$l1c"), 2 rangs $(pourcent "$m2c" "$l2c")"
echo "surcoût de MPI, démarrage de mpirun compris : 1 rang $(pourcent "$m1t" "$l1t"), 2 rangs $(pourcent "$m2t" "$l2t")"
echo "surcoût de MPI, temps processeur : 1 rang $(pourcent "$m1p" "$l1p"), 2 rangs $(pourcent "$m2p" "$l2p")"
printf "accélération : 2 rangs %.2f×, 3 rangs %.2f×\n" "$(echo "$m1c / $m2c" | bc -l)" "$(echo "$m1c / $m3c" | bc -l)"
