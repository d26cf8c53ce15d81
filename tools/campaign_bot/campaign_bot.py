#!/usr/bin/env python3
"""Plays the campaign's levels headless, to check how hard each one is.

    campaign_bot.py [--board-sim PATH] [--media DIR] [--seeds N] [--first S]
                    [--jobs J] [--think T] [LEVEL ...]

Each level (every campaign level in order when none are named; a name is the
level's script file, "level_4" or "level_4_lua") is played with
`board_sim --rules` once per seed (seeds S to S+N-1, default 1 to 20). The
bot reads the board with `dump` and `layers`, makes the swap it values most
(see `value_of`), settles, and goes on until the goals are complete (a win:
it then starts the end-of-level run with `levelend` and times it in game
time) or the limit is reached (a loss). Between moves it waits `--think`
seconds of game time, as a player looks before moving; on a time limit that
is what the clock counts.

Per level it prints wins/N, the median moves used over the wins, the median
game seconds of the end-of-level run, the stars of the wins (at the win and
after the run) and the score goal. Same seeds, same content, same figures.
"""

import argparse
import json
import os
import random
import re
import statistics
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

# Layer types, as `layers` writes them.
SIMPLE, CHAIN, DCHAIN, WALL, DWALL, CWALL, STRONG_WALL, FALLING_GOAL, CHIP_UP = 1, 2, 3, 4, 5, 6, 7, 8, 9
DESTROY_COLOR = 12
SPECIALS = set(range(13, 26))
ICE, CHAIN_BOMB, GENERATOR, MOSS = 27, 31, 32, 33
# Layers that hold a chip in its cell.
HELD = {CHAIN, DCHAIN, WALL, DWALL, CWALL, STRONG_WALL, 26, ICE, CHAIN_BOMB, GENERATOR, MOSS}
# Layers that keep a chip out of lines.
UNMATCHABLE = {WALL, DWALL, CWALL, STRONG_WALL, CHAIN_BOMB, GENERATOR, MOSS, FALLING_GOAL, CHIP_UP}
WALLS = {WALL, DWALL, CWALL, STRONG_WALL}
COLOURS = set("RGBYMO")

GOAL_WALLS, GOAL_TILES, GOAL_FALLING, GOAL_SCORE, GOAL_STRONG_WALLS, GOAL_CHIP_UP = 1, 2, 3, 4, 5, 6

SYNC = "sync"
SYNC_REPLY = "error: unknown or malformed command: sync"


class Cell:
    __slots__ = ("hole", "name", "layers", "tile", "colour")

    def __init__(self, name, layers):
        self.hole = name.startswith("#")
        self.tile = 0
        if "+" in name:
            name, tile = name.split("+")
            self.tile = int(tile)
        if "+" in layers:
            layers = layers.split("+")[0]
        self.name = name
        self.layers = [int(t) for t in layers.split("/")] if layers not in ("#", ".") else []
        suffix = name.rsplit("_", 1)
        self.colour = suffix[1] if len(suffix) == 2 and suffix[1] in COLOURS else None

    def movable(self):
        return bool(self.layers) and not (set(self.layers) & HELD)

    def matchable(self):
        return self.colour is not None and not (set(self.layers) & UNMATCHABLE)

    def special(self):
        return bool(set(self.layers) & SPECIALS) or DESTROY_COLOR in self.layers


class Sim:
    """One board_sim --rules process, driven line by line."""

    def __init__(self, board_sim, media, level, seed):
        self.proc = subprocess.Popen([board_sim, media, level, "--seed", str(seed), "--rules"],
                                     stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL, text=True, bufsize=1,
                                     cwd=os.environ.get("CAMPAIGN_BOT_WORKDIR", "/tmp"))
        self.goals_complete = False
        self.limit_reached = False
        self.moves_limit = None
        self.moves_left = None
        self.time_limit = None
        self.score = 0
        self.stars = 0
        self.goals = {}
        self.levelend_done = False
        self.levelend_started = False
        # Game seconds run, as the steps and settles tell.
        self.clock = 0.0

    def send(self, *commands):
        for command in commands:
            if command.startswith("step "):
                self.clock += float(command.split()[1])
            self.proc.stdin.write(command + "\n")
        self.proc.stdin.write(SYNC + "\n")
        self.proc.stdin.flush()
        lines = []
        while True:
            line = self.proc.stdout.readline()
            if not line:
                raise RuntimeError("board_sim ended")
            line = line.rstrip("\n")
            if line == SYNC_REPLY:
                return lines
            lines.append(line)
            self.note(line)

    def note(self, line):
        words = line.split()
        if not words:
            return
        if words[0] == "settled":
            self.clock += float(words[1])
        if line == "goals complete":
            self.goals_complete = True
        elif line == "limit reached":
            self.limit_reached = True
        elif words[0] == "limit" and len(words) >= 3 and words[1] == "moves":
            if self.moves_limit is None:
                self.moves_limit = int(words[2]) + (int(words[4]) if len(words) > 4 else 0)
            self.moves_left = int(words[2]) + (int(words[4]) if len(words) > 4 else 0)
        elif words[0] == "limit" and len(words) >= 3 and words[1] == "time" and self.time_limit is None:
            self.time_limit = float(words[2])
        elif words[0] == "limit" and words[1] == "changed":
            self.moves_left = int(words[3])
        elif words[0] == "score":
            self.score, self.stars = int(words[1]), int(words[3])
        elif words[0] == "goal":
            count, target = words[3].split("/")
            self.goals[int(words[1])] = (int(words[2]), int(count), int(target))
            # A level with no goals is won by its score goal.
            if words[1] == "2" and not any(self.goals.get(i, (0,))[0] for i in (0, 1)) \
                    and int(count) >= int(target) > 0:
                self.goals_complete = True
        elif words[0] == "levelend":
            self.levelend_started = True
            self.levelend_done = words[-1] == "1"

    def board(self):
        lines = self.send("dump", "layers")
        boards, i = [], 0
        while i < len(lines):
            m = re.match(r"board (\d+) (\d+)$", lines[i])
            if m:
                h = int(m.group(2))
                boards.append([row.split(" ") for row in lines[i + 1:i + 1 + h]])
                i += h + 1
            else:
                i += 1
        names, layers = boards[-2], boards[-1]
        return [[Cell(n, l) for n, l in zip(nr, lr)] for nr, lr in zip(names, layers)]

    def close(self):
        try:
            self.proc.stdin.write("quit\n")
            self.proc.stdin.close()
        except OSError:
            pass
        self.proc.wait()


def line_cells(board, r, c, colour):
    """The cells of the lines of `colour` through (r, c), if any."""
    h, w = len(board), len(board[0])
    found = set()
    for dr, dc in ((0, 1), (1, 0)):
        run = [(r, c)]
        for sign in (1, -1):
            rr, cc = r + sign * dr, c + sign * dc
            while 0 <= rr < h and 0 <= cc < w and board[rr][cc].matchable() and board[rr][cc].colour == colour:
                run.append((rr, cc))
                rr, cc = rr + sign * dr, cc + sign * dc
        if len(run) >= 3:
            found.update(run)
    return found


def candidate_swaps(board):
    """Every swap of two neighbours that makes a line: (a, b, matched cells, longest run)."""
    h, w = len(board), len(board[0])
    out = []
    for r in range(h):
        for c in range(w):
            for r2, c2 in ((r, c + 1), (r + 1, c)):
                if r2 >= h or c2 >= w:
                    continue
                a, b = board[r][c], board[r2][c2]
                if not (a.movable() and b.movable()):
                    continue
                if DESTROY_COLOR in a.layers or DESTROY_COLOR in b.layers:
                    out.append(((r, c), (r2, c2), set(), 9))
                    continue
                if a.special() and b.special():
                    out.append(((r, c), (r2, c2), set(), 8))
                    continue
                board[r][c], board[r2][c2] = b, a
                matched = set()
                if b.matchable():
                    matched |= line_cells(board, r, c, b.colour)
                if a.matchable():
                    matched |= line_cells(board, r2, c2, a.colour)
                board[r][c], board[r2][c2] = a, b
                if matched:
                    out.append(((r, c), (r2, c2), matched, len(matched)))
    return out


def neighbours(board, r, c):
    for rr, cc in ((r - 1, c), (r + 1, c), (r, c - 1), (r, c + 1)):
        if 0 <= rr < len(board) and 0 <= cc < len(board[0]):
            yield rr, cc


def value_of(board, swap, goals):
    """What a swap is worth: the goals' cells it reaches, then its size."""
    a, b, matched, size = swap
    kinds = {kind for kind, count, target in goals.values() if count < target}
    h = len(board)
    value = float(len(matched))
    if size >= 8:
        value += 12.0  # a colour destroyer or two specials together
    elif size >= 5:
        value += 8.0
    elif size == 4:
        value += 4.0
    for r, c in matched:
        cell = board[r][c]
        if cell.special():
            value += 5.0
        # Lower lines shake more of the board loose.
        value += 0.15 * r / h
        if GOAL_TILES in kinds and cell.tile:
            value += 3.0 + cell.tile
        if set(cell.layers) & {CHAIN, DCHAIN, ICE}:
            value += 2.5
        for rr, cc in neighbours(board, r, c):
            near = set(board[rr][cc].layers)
            if GOAL_WALLS in kinds and near & WALLS:
                value += 3.0
            elif near & WALLS:
                value += 0.8
            if near & {ICE, MOSS, GENERATOR, CHAIN_BOMB}:
                value += 2.0
            if GOAL_STRONG_WALLS in kinds and STRONG_WALL in near and cell.special():
                value += 6.0
    if GOAL_STRONG_WALLS in kinds and size >= 4:
        # Blasts break iron walls: a special made near one is worth more.
        for r, c in matched:
            for rr in range(max(0, r - 2), min(h, r + 3)):
                for cc in range(max(0, c - 2), min(len(board[0]), c + 3)):
                    if STRONG_WALL in board[rr][cc].layers:
                        value += 2.0
    if GOAL_FALLING in kinds or GOAL_CHIP_UP in kinds:
        # Clear the cells under a lantern (or above a rising chip) in its column.
        for r in range(h):
            for c in range(len(board[0])):
                layers = board[r][c].layers
                if FALLING_GOAL in layers and GOAL_FALLING in kinds:
                    value += 4.0 * sum(1 for mr, mc in matched if mc == c and mr > r)
                if CHIP_UP in layers and GOAL_CHIP_UP in kinds:
                    value += 4.0 * sum(1 for mr, mc in matched if mc == c and mr < r)
    return value


def stars_of(score, star_scores):
    return sum(1 for needed in star_scores if score >= needed)


def play(board_sim, media, level, seed, think, star_scores, max_moves=150, payout=True):
    sim = Sim(board_sim, media, level, seed)
    rng = random.Random(seed * 7919 + sum(map(ord, level)))
    try:
        sim.send("settle")
        moves = 0
        start = sim.clock
        # (moves, score, seconds) after each move.
        trace = []
        failed = set()
        stalls = 0
        win_stars = 0
        while not sim.goals_complete and not sim.limit_reached and moves < max_moves:
            board = sim.board()
            swaps = [s for s in candidate_swaps(board) if (s[0], s[1]) not in failed]
            if not swaps:
                stalls += 1
                if stalls > 6:
                    break
                sim.send("step 2", "settle")
                failed.clear()
                continue
            best = max(swaps, key=lambda s: (value_of(board, s, sim.goals), rng.random()))
            (r1, c1), (r2, c2) = best[0], best[1]
            before = [[x.name for x in row] for row in board]
            # Rows count from 1 in the commands, as `dump` prints them.
            sim.send(f"step {think}" if think > 0 else "settle",
                     f"swap {c1} {r1 + 1} {c2} {r2 + 1}", "step 0.1", "settle")
            if sim.goals_complete or sim.limit_reached:
                moves += 1
                break
            after = [[x.name for x in row] for row in sim.board()]
            if after == before:
                failed.add((best[0], best[1]))
                stalls += 1
                if stalls > 30:
                    break
                continue
            failed.clear()
            stalls = 0
            moves += 1
            trace.append((moves, sim.score, round(sim.clock - start, 2)))
        if not sim.goals_complete:
            # The last move's lines may still be landing.
            sim.send("settle")
        result = {"win": sim.goals_complete, "moves": moves, "payout": None, "time": round(sim.clock - start, 2), "trace": trace,
                  "win_stars": sim.stars, "stars": sim.stars, "score": sim.score}
        if sim.goals_complete and not payout:
            sim.send("settle")
            result["win_score"] = sim.score
            result["win_stars"] = stars_of(sim.score, star_scores)
        elif sim.goals_complete:
            # The win starts the end-of-level run once the board is still.
            sim.send("settle")
            # The panel's stars follow the score with a lag: count them here.
            result["win_stars"] = stars_of(sim.score, star_scores)
            result["win_score"] = sim.score
            sim.send("rules")
            t = 0.0
            while not sim.levelend_started and t < 10:
                sim.send("step 0.25", "rules")
                t += 0.25
            if not sim.levelend_started:
                sim.send("levelend", "rules")
            t = 0.0
            while not sim.levelend_done and t < 180:
                sim.send("step 0.25", "rules")
                t += 0.25
            sim.send("settle")
            result["payout"] = t
            result["stars"] = stars_of(sim.score, star_scores)
            result["score"] = sim.score
        return result
    finally:
        sim.close()


def campaign_levels(media):
    """The campaign's level scripts in order, read from main_mode.lua."""
    text = open(os.path.join(media, "scripts", "main_mode.lua"), encoding="utf-8").read()
    levels = []
    m = re.search(r'for n = 1, (\d+) do\s+table.insert\(firstFiles, "(\w+)" \.\. n\)', text)
    if m:
        levels += [f"{m.group(2)}{n}" for n in range(1, int(m.group(1)) + 1)]
    for block in re.findall(r"numbered\(\{([^}]*)\}", text):
        levels += re.findall(r'"(\w+)"', block)
    return levels


def median(values):
    values = [v for v in values if v is not None]
    return statistics.median(values) if values else None


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = os.path.dirname(os.path.dirname(here))
    parser = argparse.ArgumentParser(description="Plays the campaign's levels headless.")
    parser.add_argument("--board-sim", default=os.path.join(root, "build", "tools", "board_sim", "board_sim"))
    parser.add_argument("--media", default=os.path.join(root, "media"))
    parser.add_argument("--seeds", type=int, default=20)
    parser.add_argument("--first", type=int, default=1)
    parser.add_argument("--jobs", type=int, default=3)
    parser.add_argument("--think", type=float, default=1.5)
    parser.add_argument("--verbose", action="store_true", help="each seed's result on the standard error")
    parser.add_argument("--no-payout", action="store_true", help="stop at the win, without the end-of-level run")
    parser.add_argument("levels", nargs="*")
    args = parser.parse_args()
    levels = [name[:-4] if name.endswith("_lua") else name for name in args.levels] or campaign_levels(args.media)
    numbers = {name: i + 1 for i, name in enumerate(campaign_levels(args.media))}
    print("| level | limit; goal | wins /%d | median moves used | median payout s | stars at win (1/2/3) "
          "| stars after payout (1/2/3) | one star lifted to three |" % args.seeds)
    print("|---|---|---|---|---|---|---|---|")
    with ThreadPoolExecutor(max_workers=max(1, args.jobs)) as pool:
        for level in levels:
            seeds = range(args.first, args.first + args.seeds)
            star_scores = read_stars(args.media, level)
            results = list(pool.map(lambda s: play(args.board_sim, args.media, level + "_lua", s, args.think,
                                                   star_scores, payout=not args.no_payout), seeds))
            wins = [r for r in results if r["win"]]
            if args.verbose:
                for seed, r in zip(seeds, results):
                    print(json.dumps(dict(r, level=level, seed=seed)), file=sys.stderr)
            limit, goal = describe(args.media, level)
            win_dist = "/".join(str(sum(1 for r in wins if r["win_stars"] == n)) for n in (1, 2, 3))
            end_dist = "/".join(str(sum(1 for r in wins if r["stars"] == n)) for n in (1, 2, 3))
            lifted = sum(1 for r in wins if r["win_stars"] <= 1 and r["stars"] == 3)
            moves = median([r["moves"] for r in wins])
            payout = median([r["payout"] for r in wins])
            print(f"| {numbers.get(level, '-')} {level} | {limit}; {goal} | {len(wins)} | "
                  f"{'-' if moves is None else f'{moves:g}'} | {'-' if payout is None else f'{payout:.1f}'} | "
                  f"{win_dist} | {end_dist} | {lifted} |", flush=True)


def read_stars(media, level):
    """The level's three star scores."""
    text = open(os.path.join(media, "levels", level + ".lua"), encoding="utf-8").read()
    stars = re.search(r"stars = \{([^}]*)\}", text)
    return [int(v) for v in re.findall(r"\d+", stars.group(1))] if stars else [0, 0, 0]


def describe(media, level):
    """The level's limit and goals, as its script writes them."""
    try:
        text = open(os.path.join(media, "levels", level + ".lua"), encoding="utf-8").read()
    except OSError:
        return "?", "?"
    limit = re.search(r"(?:LevelLimit|LevelTime) = (\d+)", text)
    kind = re.search(r"LevelLimitType = (\d)", text)
    goals = re.search(r"LevelGoals = \{([^}]*)\}", text)
    stars = re.search(r"stars = \{([^}]*)\}", text)
    limit_text = "none" if not limit else (limit.group(1) + (" s" if kind and kind.group(1) == "1" else " moves"))
    names = {1: "walls", 2: "tiles", 3: "lanterns", 5: "iron walls", 6: "rising chips"}
    goal_text = ", ".join(names.get(int(g), g) for g in re.findall(r"\d+", goals.group(1)) if g != "0") if goals else ""
    star_text = "stars " + stars.group(1).strip().replace(" ", "") if stars else ""
    return limit_text, ((goal_text + " " if goal_text else "score ") + star_text).strip()


if __name__ == "__main__":
    main()
