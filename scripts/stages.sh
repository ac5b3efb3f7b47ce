# Sourced by the test scripts: `stage NAME` prints the heading of the next stage and how long the
# one before it took; `stage ""` ends the last.
stage_name=""
stage_started=$SECONDS
stage() {
  if [ -n "$stage_name" ]; then echo "== $stage_name: $((SECONDS - stage_started)) s"; fi
  stage_name=$1
  stage_started=$SECONDS
  if [ -n "$stage_name" ]; then echo "== $stage_name"; fi
}
