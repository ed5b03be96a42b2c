#!/usr/bin/env bash
# velmora-sim batch under mpirun, as a cluster runs it, checked against the one-machine run:
#   1. 24 positions on 3 ranks give the same files, byte for byte (and a few solved ones too);
#   2. a rank killed in the middle: the run fails and says so, the finished results are whole,
#      and --resume completes the folder with the same files;
#   3. ranks started with other options than rank 0's: the job stops before computing, naming them;
#   4. a rank stopped (SIGSTOP) in the middle: --rank-timeout ends the job, --resume completes it.
# usage: BatchMpi.sh VELMORA_SIM EXAMPLES_DIR [MPIRUN] [TRIALS]
set -uo pipefail
sim=$1
exemples=$2
mpirun=${3:-mpirun}
travail=$(mktemp -d "${TMPDIR:-/tmp}/velmora-batch-mpi.XXXXXX")
trap 'rm -rf "$travail"' EXIT
# about 0.15 s per position in an optimised build: long enough to kill a rank in the middle, short
# enough for the whole test to take seconds (sanitized builds pass a smaller grid)
grille=(--trials "${4:-3,3,3,2,0,0}")
# Open MPI keeps what it allocates at start-up to the end of the process: under LeakSanitizer that
# would fail every rank; our own code's leaks are checked by the one-machine tests
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
echecs=0

echoue() {
  echo "ÉCHEC : $*" >&2
  echecs=$((echecs + 1))
}

# the same folder, byte for byte, but for the computing times (and the hidden temporary file a
# rank killed for good in the middle of a write may leave)
memes_fichiers() {
  diff -r -x temps.csv -x '.tmp-*' "$1" "$2" >/dev/null
}

# 24 positions: the examples with the balls moved a little
mkdir -p "$travail/positions"
for f in "$exemples"/*.vel; do
  nom=$(basename "$f" .vel)
  for k in 0 1 2 3; do
    awk -v k="$k" -F= '
      $1 == "P1x" { printf "P1x=%.3f\n", $2 + 2.5 * k; next }
      $1 == "P2y" { printf "P2y=%.3f\n", $2 - 4 * k; next }
      $1 == "P3x" { printf "P3x=%.3f\n", $2 + 1.5 * k; next }
      { print }' "$f" >"$travail/positions/${nom}_$k.vel"
  done
done
nb=$(ls "$travail/positions" | wc -l)
[ "$nb" -ge 20 ] || echoue "seulement $nb positions"

# the reference: one machine
"$sim" batch difficulty "$travail/positions" --out "$travail/ref" "${grille[@]}" >/dev/null ||
  echoue "le calcul sur une machine a échoué"

# 1. three ranks, more than the cores
lance_mpi() {
  "$mpirun" -np 3 --oversubscribe --allow-run-as-root "$sim" batch difficulty "$travail/positions" "${grille[@]}" "$@"
}
lance_mpi --out "$travail/mpi" >"$travail/mpi.out" 2>"$travail/mpi.err" ||
  echoue "mpirun a échoué : $(cat "$travail/mpi.err")"
memes_fichiers "$travail/ref" "$travail/mpi" || echoue "3 rangs : dossier différent du calcul sur une machine"
grep -q "rangs : 3 " "$travail/mpi.out" || echoue "le calcul n'a pas tourné sur 3 rangs : $(cat "$travail/mpi.out")"
# the positions really went to the other ranks
rangs=$(tail -n +2 "$travail/mpi/temps.csv" | awk -F, '{ print $NF }' | sort -u | wc -l)
[ "$rangs" -ge 2 ] || echoue "toutes les positions calculées par un seul rang"

# the solver too, on a few positions with a small budget
mkdir -p "$travail/quelques"
cp "$travail/positions"/ouverture_1.vel "$travail/positions"/trois_bandes_2.vel "$travail/positions"/saut_3.vel \
  "$travail/quelques/"
routes=(--budget 1000 --top 1 --mode libre)
"$sim" batch solve "$travail/quelques" --out "$travail/routes_ref" "${routes[@]}" >/dev/null ||
  echoue "batch solve sur une machine a échoué"
"$mpirun" -np 3 --oversubscribe --allow-run-as-root "$sim" batch solve "$travail/quelques" --out "$travail/routes_mpi" \
  "${routes[@]}" >/dev/null 2>"$travail/routes.err" || echoue "batch solve sous mpirun a échoué : $(cat "$travail/routes.err")"
memes_fichiers "$travail/routes_ref" "$travail/routes_mpi" || echoue "batch solve, 3 rangs : dossier différent"
[ -s "$travail/routes_mpi/saut_3.json" ] || echoue "batch solve : saut_3.json manquant"

# the other commands do not start MPI: under mpirun each rank just runs them, as before
seul=$("$sim" shot "$exemples/ouverture.vel" --json)
"$mpirun" -np 2 --oversubscribe --allow-run-as-root "$sim" shot "$exemples/ouverture.vel" --json >"$travail/shot.out" ||
  echoue "shot sous mpirun a échoué"
[ "$(cat "$travail/shot.out")" = "$(printf '%s\n%s' "$seul" "$seul")" ] ||
  echoue "shot sous mpirun : $(cat "$travail/shot.out")"

# 2. rank 1 killed once a few positions are done
"$mpirun" -np 3 --oversubscribe --allow-run-as-root "$sim" batch difficulty "$travail/positions" "${grille[@]}" \
  --out "$travail/tue" >"$travail/tue.out" 2>"$travail/tue.err" &
mpirun_pid=$!
tue=
# (a deadline rather than a count of turns: a busy machine slows the turns down too)
limite=$((SECONDS + 180))
while [ "$SECONDS" -lt "$limite" ] && kill -0 "$mpirun_pid" 2>/dev/null; do
  faites=$(ls "$travail/tue" 2>/dev/null | grep -c '\.resume\.csv$')
  if [ "$faites" -ge 3 ]; then
    for p in $(pgrep -P "$mpirun_pid"); do
      if tr '\0' '\n' </proc/"$p"/environ 2>/dev/null | grep -qx 'OMPI_COMM_WORLD_RANK=1'; then
        kill -9 "$p" && tue=$p
      fi
    done
    break
  fi
  sleep 0.02
done
wait "$mpirun_pid"
statut=$?
[ -n "$tue" ] || echoue "le rang 1 n'a pas pu être arrêté"
[ "$statut" -ne 0 ] || echoue "un rang tué, et pourtant un statut 0"
# ours; on a very busy machine rank 0 may not get the processor before mpirun kills it for good a
# second later, and mpirun's own notice is all there is
grep -q -e "relancez la même commande avec --resume" -e "rank 1 .* exited on signal 9" "$travail/tue.err" ||
  echoue "pas de message clair après la mort d'un rang : $(cat "$travail/tue.err")"
[ ! -e "$travail/tue/resume.csv" ] || echoue "un résumé écrit alors que le calcul n'est pas fini"
faites=$(ls "$travail/tue" | grep -c '\.resume\.csv$')
[ "$faites" -lt "$nb" ] || echoue "le rang a été tué trop tard pour vérifier quoi que ce soit"
# every finished position is whole; no temporary file left behind
for ligne in "$travail/tue"/*.resume.csv; do
  nom=$(basename "$ligne" .resume.csv)
  cmp -s "$ligne" "$travail/ref/$nom.resume.csv" || echoue "$nom : résumé différent après l'arrêt"
  cmp -s "$travail/tue/$nom.bul" "$travail/ref/$nom.bul" || echoue "$nom : résultats différents après l'arrêt"
done
# (a rank 0 killed for good in the middle of a write leaves its temporary file: it is a hidden
# .tmp- file, which a batch never takes for a result)
lance_mpi --out "$travail/tue" --resume >"$travail/reprise.out" 2>"$travail/reprise.err" ||
  echoue "--resume a échoué : $(cat "$travail/reprise.err")"
grep -q "$faites déjà faites" "$travail/reprise.out" ||
  echoue "--resume n'a pas sauté les $faites positions finies : $(cat "$travail/reprise.out")"
memes_fichiers "$travail/ref" "$travail/tue" || echoue "après --resume : dossier différent du calcul sur une machine"
if ls "$travail/tue" | grep -q '^[^.].*\.tmp-'; then echoue "fichier temporaire laissé : $(ls "$travail/tue")"; fi

# 3. rank 1 started with other trials than rank 0: the job stops before any result is written
"$mpirun" -np 1 --oversubscribe --allow-run-as-root "$sim" batch difficulty "$travail/positions" "${grille[@]}" \
  --out "$travail/desaccord" : -np 1 "$sim" batch difficulty "$travail/positions" --trials 1,1,1,1,0,0 \
  --out "$travail/desaccord" >"$travail/desaccord.out" 2>"$travail/desaccord.err"
statut=$?
[ "$statut" -ne 0 ] || echoue "rangs en désaccord, et pourtant un statut 0"
grep -q "le rang 1 n'a pas la configuration du rang 0 : --trials" "$travail/desaccord.err" ||
  echoue "le désaccord des rangs n'est pas nommé : $(cat "$travail/desaccord.err")"
[ ! -e "$travail/desaccord" ] || echoue "des rangs en désaccord ont écrit : $(ls "$travail/desaccord")"

# 4. rank 1 stopped (SIGSTOP) once a few positions are done: the job ends after --rank-timeout
"$mpirun" -np 2 --oversubscribe --allow-run-as-root "$sim" batch difficulty "$travail/positions" "${grille[@]}" \
  --threads 1 --rank-timeout 3 --out "$travail/muet" >"$travail/muet.out" 2>"$travail/muet.err" &
mpirun_pid=$!
arrete=
limite=$((SECONDS + 180))
while [ "$SECONDS" -lt "$limite" ] && kill -0 "$mpirun_pid" 2>/dev/null; do
  if [ "$(ls "$travail/muet" 2>/dev/null | grep -c '\.resume\.csv$')" -ge 2 ]; then
    for p in $(pgrep -P "$mpirun_pid"); do
      if tr '\0' '\n' </proc/"$p"/environ 2>/dev/null | grep -qx 'OMPI_COMM_WORLD_RANK=1'; then
        kill -STOP "$p" && arrete=$p
      fi
    done
    break
  fi
  sleep 0.02
done
[ -n "$arrete" ] || echoue "le rang 1 n'a pas pu être arrêté"
# the job must end by itself; past the deadline it is stalled
limite=$((SECONDS + 120))
while [ "$SECONDS" -lt "$limite" ] && kill -0 "$mpirun_pid" 2>/dev/null; do sleep 0.2; done
if kill -0 "$mpirun_pid" 2>/dev/null; then
  echoue "un rang arrêté bloque le travail"
  [ -n "$arrete" ] && kill -9 "$arrete"
  kill "$mpirun_pid"
fi
wait "$mpirun_pid"
statut=$?
[ "$statut" -ne 0 ] || echoue "un rang muet, et pourtant un statut 0"
grep -q "le rang 1 ne répond plus depuis 3 s" "$travail/muet.err" ||
  echoue "pas de message pour le rang muet : $(cat "$travail/muet.err")"
for ligne in "$travail/muet"/*.resume.csv; do
  nom=$(basename "$ligne" .resume.csv)
  [ "$nom" = resume ] && echoue "un résumé écrit alors que le calcul n'est pas fini" && continue
  cmp -s "$travail/muet/$nom.bul" "$travail/ref/$nom.bul" || echoue "$nom : résultats différents après le rang muet"
done
"$sim" batch difficulty "$travail/positions" "${grille[@]}" --out "$travail/muet" --resume >/dev/null \
  2>"$travail/muet_reprise.err" || echoue "--resume après le rang muet a échoué : $(cat "$travail/muet_reprise.err")"
memes_fichiers "$travail/ref" "$travail/muet" || echoue "après le rang muet et --resume : dossier différent"

[ "$echecs" -eq 0 ] && echo "batch MPI : $nb positions, 3 rangs, arrêt et reprise, désaccord, rang muet : conformes"
exit $((echecs > 0))
