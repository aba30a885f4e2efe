#!/usr/bin/env python3
"""Puts back, one at a time, the faults found where two guarding features meet,
and says which unit tests catch each and which seed of the simulation of
years of events finds it (ZVKOB_MEETINGS_SEQUENCES sequences, by default
5000). Every one must be caught.

    tools/mutants/meeting_faults.py        # all of them
    tools/mutants/meeting_faults.py 0 8    # some, by number

It works on a copy of the committed tree (ZVKOB_MEETINGS_DIR, by default
/tmp/zvkob-meeting-faults), built natively with sanitizers as the unit tests
are; the copy's build is kept for the next run. Exits 1 when a fault is not
caught or no longer found in the code.
"""
import os
import re
import subprocess
import sys

TREE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
WORK = os.environ.get("ZVKOB_MEETINGS_DIR", "/tmp/zvkob-meeting-faults")

# (the fault, the file, the code as it is, the code with the fault)
FAULTS = [
    ("an unknown network state taken as active, so the user's pause becomes ZV-KOB's",
     "core/power/metered_pause.cpp",
     "facts.ticked && metered && facts.network_active == true && !hold_off_",
     "facts.ticked && metered && facts.network_active.value_or(true) && !hold_off_"),
    ("a paused node shown catching up", "core/node_state/node_state_merge.cpp",
     "state.condition = NodeCondition::network_paused;",
     "state.condition = NodeCondition::catching_up;"),
    ("two power events of one change taken as two readings in a row",
     "core/power/power_stop_rule.cpp",
     "if (readings_calling_ > 0 && now_ms - counted_ms_ < battery_readings_apart_ms) {",
     "if (false && now_ms - counted_ms_ < battery_readings_apart_ms) {"),
    ("a battery stop that failed never asked again", "guardian/flows/stop_node.cpp",
     "    program.node.life.on(NodeEvent::stop_refused, g.services.clock.now_ms());\n", "\n"),
    ("the user's Stop Node leaves the battery's stop to be undone on mains",
     "guardian/flows/stop_node.cpp", "    g.guardian.battery.user_chose();\n", "\n"),
    ("a stop record that cannot be read taken as read, and written over",
     "guardian/power/power_guard.cpp", "        return false;\n", "        return true;\n"),
    ("the mains restart starts whichever program is chosen",
     "guardian/engine/power_meeting.cpp",
     "if (scene.chosen_program.empty() || scene.chosen_program != battery.stopped_program()) {",
     "if (scene.chosen_program.empty()) {"),
    ("the mains restart arms Auto Close", "guardian/engine/power_meeting.cpp",
     "ArmTheCountdown{StartRequest::mains_restart}", "ArmTheCountdown{StartRequest::countdown}"),
    ("Keep Node Running's verdict taken for an earlier stop",
     "guardian/engine/node_gone_meeting.cpp", "scene.since_ms == stopped_ms;",
     "(static_cast<void>(stopped_ms), true);"),
    ("a tick's acting part run beside an open message box", "core/event_gate.cpp",
     "    if (reading_) {\n        run_when_free(key, std::move(action));",
     "    if (false) {\n        run_when_free(key, std::move(action));"),
    ("a pause call without an answer taken as not made, and never resumed",
     "core/power/metered_pause.cpp",
     "    if (outcome == NetworkOutcome::unknown) {\n        settling_ = action;",
     "    if (false) {\n        settling_ = action;"),
    ("clearing Show the Node's Progress leaves ZV-KOB's pause", "core/power/metered_pause.cpp",
     "if (paused_ && !facts.state_followed) {", "if (false && !facts.state_followed) {"),
    ("a link cost that cannot be read leaves ZV-KOB's pause", "core/power/metered_pause.cpp",
     "return facts.cost_lost ? resume(ResumeWhy::cost_unknown) : MeteredStep{};",
     "return MeteredStep{};"),
    ("a pause remembered at close resumed on another run of the node",
     "guardian/power/metered_guard.cpp",
     "if (network_pause_of_record(*file.text) == std::optional(run)) {",
     "if (network_pause_of_record(*file.text) || run.id == 0) {"),
    ("closing leaves ZV-KOB's pause", "guardian/flows/metered_events.cpp",
     "if (program == nullptr || !g.guardian.metered.may_hold_a_pause()) {", "if (true) {"),
    # Found by the simulation.
    ("the mains restart's countdown starts the node on battery",
     "guardian/engine/power_meeting.cpp",
     "if (battery.on_battery() && mains_restart_armed(scene)) {",
     "if (false && mains_restart_armed(scene)) {"),
    ("a stop owed asked on one odd reading after a reading that did not call for it",
     "core/power/power_stop_rule.cpp",
     "        owed_ = false;  // a stop owed is owed to readings in a row", "        // "),
    ("a stop owed asked twice for one change told twice", "core/power/power_stop_rule.cpp",
     "        if (now_ms - counted_ms_ < battery_readings_apart_ms) {\n            return {};  // the change",
     "        if (false) {\n            return {};  // the change"),
    ("a resume without an answer left unsettled, so closing switches on the user's later pause",
     "core/power/metered_pause.cpp",
     "std::exchange(settling_, NetworkAction::none) == NetworkAction::resume",
     "settling_ == NetworkAction::resume"),
    ("the battery stop switched off leaves its mains restart armed",
     "guardian/engine/power_meeting.cpp",
     "if (!scene.ticked && mains_restart_armed(scene)) {", "if (false) {"),
    ("START pressed while the node runs forgets the battery's stop owed to it",
     "guardian/engine/care_meeting.cpp", "    guardian.battery.user_started();",
     "    guardian.battery.user_chose();"),
]
SEQUENCES = os.environ.get("ZVKOB_MEETINGS_SEQUENCES", "5000")


def run(*command, **options):
    return subprocess.run(command, cwd=WORK, capture_output=True, text=True, **options)


def fresh_copy():
    if not os.path.isdir(os.path.join(WORK, ".git")):
        subprocess.run(["git", "clone", "-q", TREE, WORK], check=True)
    head = subprocess.run(["git", "-C", TREE, "rev-parse", "HEAD"], capture_output=True,
                          text=True, check=True).stdout.strip()
    run("git", "fetch", "-q", TREE, head, check=True)
    run("git", "checkout", "-q", "--force", head, check=True)
    run("cmake", "--preset", "native", check=True)


def failing_tests():
    built = run("cmake", "--build", "--preset", "native", "--target", "zvkob_unit_tests")
    if built.returncode != 0:
        return None
    tests = run("build/native/tests/unit/zvkob_unit_tests", "--gtest_brief=1")
    return sorted({line.split("] ", 1)[1].split(" (")[0] for line in tests.stdout.splitlines()
                   if line.startswith("[  FAILED  ]") and " (" in line})


def simulation_finding():
    built = run("cmake", "--build", "--preset", "native", "--target", "zvkob_simulation_tests")
    if built.returncode != 0:
        return None
    played = run("build/native/tests/simulation/zvkob_simulation_tests",
                 env=dict(os.environ, ZVKOB_SIM_SEQUENCES=SEQUENCES))
    found = re.search(r"(seed \d+: .*?) at step", played.stdout)
    return found.group(1) if found else ""


def main():
    chosen = {int(n) for n in sys.argv[1:]}
    fresh_copy()
    all_caught = True
    for number, (fault, path, code, faulty) in enumerate(FAULTS):
        if chosen and number not in chosen:
            continue
        file = os.path.join(WORK, path)
        text = open(file, encoding="utf-8").read()
        if code not in text:
            print(f"{number} {fault}: the code is no longer there ({path})", flush=True)
            all_caught = False
            continue
        open(file, "w", encoding="utf-8").write(text.replace(code, faulty, 1))
        try:
            failed = failing_tests()
            found = simulation_finding()
        finally:
            open(file, "w", encoding="utf-8").write(text)
        if failed is None or found is None:
            verdict = "did not build"
        else:
            verdict = ("caught by " + ", ".join(failed) if failed else "no unit test catches it")
            verdict += "; the simulation: " + (found or "NOT FOUND")
        all_caught = all_caught and bool(failed or found)
        print(f"{number} {fault}: {verdict}", flush=True)
    return 0 if all_caught else 1


if __name__ == "__main__":
    sys.exit(main())
