#!/usr/bin/python3
"""Check and suggest times through pyenchant with the spellcheck, hunspell and
aspell providers, on the same words, in one run: a seeded sample of the
bundled word list (correct words) and generated misspellings of it
(bench/quality's make_misspellings, a seeded error model of our own).

Usage (as root, from the source folder, after building the targets
enchant_spellcheck, spellcheck_bundled_dictionary, spellcheck_levels_english
and bench_make_misspellings):

    bench/enchant_compare.py [--build build] [--words 2000] [--misspellings 1000] [--seed 1]

Enchant loads providers only from its compiled-in folder: unless spellcheck
is installed there, the script runs itself again in a private mount
namespace (unshare -m) with a scratch folder of the system's providers and
the built module mounted over that folder. HOME and the XDG folders are
scratch folders, so that no personal word list takes part.

Prints, per provider: the time to open the dictionary and answer a first
check, that of the first suggestion (spellcheck builds its ranking index then), then medians per word
of check (correct and misspelled words) and suggest, and how often the
intended word is the first suggestion or among the first five.
"""
import argparse
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

PROVIDERS = ["spellcheck", "hunspell", "aspell"]
TAG = "en_US"


def arguments():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    here = os.path.dirname(os.path.abspath(__file__))
    parser.add_argument("--build", default=os.path.join(here, "..", "build"))
    parser.add_argument("--words", type=int, default=2000, help="correct words (default 2000)")
    parser.add_argument("--misspellings", type=int, default=1000, help="(default 1000)")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--in-namespace", action="store_true", help=argparse.SUPPRESS)
    return parser.parse_args()


def loaded_providers():
    import enchant

    return [provider.name for provider in enchant.Broker().describe()]


def enchant_module_folder():
    libdir = subprocess.run(["pkg-config", "--variable=libdir", "enchant-2"], check=True,
                            capture_output=True, text=True).stdout.strip()
    return os.path.join(libdir, "enchant-2")


def run_in_namespace(args, scratch):
    """Runs this script again with the built module mounted among Enchant's."""
    module = os.path.join(args.build, "tools", "enchant", "enchant_spellcheck.so")
    if not os.path.exists(module):
        sys.exit(f"enchant_compare: no {module}; build the target enchant_spellcheck")
    folder = enchant_module_folder()
    modules = os.path.join(scratch, "modules")
    os.makedirs(modules)
    for name in os.listdir(folder):
        if name.endswith(".so") and name != "enchant_spellcheck.so":
            shutil.copy(os.path.join(folder, name), modules)
    shutil.copy(module, modules)
    script = (f'mount --bind "{modules}" "{folder}" && exec "{sys.executable}" "$@"')
    command = ["unshare", "-m", "sh", "-c", script, "sh", os.path.abspath(__file__),
               "--in-namespace"] + sys.argv[1:]
    return subprocess.run(command).returncode


def word_sample(args):
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "..", "data", "american-english"), encoding="utf-8") as f:
        words = [line.strip() for line in f if line.strip()]
    return random.Random(args.seed).sample(words, args.words)


def misspellings(args):
    here = os.path.dirname(os.path.abspath(__file__))
    generator = os.path.join(args.build, "bench", "quality", "make_misspellings")
    levels = os.path.join(args.build, "share", "spellcheck", "english.levels")
    if not os.path.exists(levels):
        levels = os.path.join(here, "..", "data", "american-english")
    out = subprocess.run([generator, "--dict", os.path.join(here, "..", "data", "american-english"),
                          "--seed", str(args.seed), "--count", str(args.misspellings),
                          "--max-level", "50", levels],
                         check=True, capture_output=True, text=True).stdout
    return [tuple(line.split("\t", 1)) for line in out.splitlines() if "\t" in line]


def per_word_ns(call, words):
    times = []
    for word in words:
        start = time.perf_counter_ns()
        call(word)
        times.append(time.perf_counter_ns() - start)
    return times


def measure(name, correct, pairs):
    import enchant

    broker = enchant.Broker()
    broker.set_ordering(TAG, name)
    start = time.perf_counter_ns()
    dictionary = broker.request_dict(TAG)
    if dictionary.provider.name != name:
        return None
    dictionary.check(correct[0])
    opened = time.perf_counter_ns() - start
    wrong = [pair[0] for pair in pairs]
    start = time.perf_counter_ns()
    dictionary.suggest(wrong[0])
    first = time.perf_counter_ns() - start
    result = {
        "open_ms": opened / 1e6,
        "first_suggest_ms": first / 1e6,
        "check_correct_us": statistics.median(per_word_ns(dictionary.check, correct)) / 1e3,
        "check_misspelled_us": statistics.median(per_word_ns(dictionary.check, wrong)) / 1e3,
        "accepted": sum(map(dictionary.check, correct)) / len(correct),
        "flagged": sum(not dictionary.check(w) for w in wrong) / len(wrong),
    }
    top1 = top5 = 0
    times = []
    for misspelt, intended in pairs:
        start = time.perf_counter_ns()
        suggestions = dictionary.suggest(misspelt)
        times.append(time.perf_counter_ns() - start)
        top1 += suggestions[:1] == [intended]
        top5 += intended in suggestions[:5]
    result["suggest_us"] = statistics.median(times) / 1e3
    result["top1"] = top1 / len(pairs)
    result["top5"] = top5 / len(pairs)
    return result


def report(args, correct, pairs):
    print(f"{len(correct)} words of data/american-english and {len(pairs)} generated misspellings "
          f"(seed {args.seed}), {TAG}, through pyenchant; medians per word")
    print()
    print("| provider | open + first check | first suggest | check correct | check misspelled | suggest "
          "| correct accepted | misspellings flagged | intended 1st | in top 5 |")
    print("| --- | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: |")
    for name in PROVIDERS:
        r = measure(name, correct, pairs)
        if r is None:
            print(f"| {name} | (no {TAG} dictionary) | | | | | | | | |")
            continue
        print(f"| {name} | {r['open_ms']:.1f} ms | {r['first_suggest_ms']:.1f} ms "
              f"| {r['check_correct_us']:.1f} µs | {r['check_misspelled_us']:.1f} µs "
              f"| {r['suggest_us']:.0f} µs | {r['accepted']:.1%} | {r['flagged']:.1%} "
              f"| {r['top1']:.1%} | {r['top5']:.1%} |")


def main():
    args = arguments()
    scratch = tempfile.mkdtemp(prefix="enchant-compare-")
    try:
        if not args.in_namespace and "spellcheck" not in loaded_providers():
            if os.geteuid() != 0:
                sys.exit("enchant_compare: spellcheck is not installed for Enchant, and mounting "
                         "the built module needs root")
            return run_in_namespace(args, scratch)
        for variable, sub in [("HOME", "home"), ("XDG_CONFIG_HOME", "config"),
                              ("XDG_DATA_HOME", "data")]:
            os.environ[variable] = os.path.join(scratch, sub)
            os.makedirs(os.environ[variable], exist_ok=True)
        os.environ.setdefault("SPELLCHECK_DATA", os.path.join(args.build, "share", "spellcheck"))
        for variable in ["SPELLCHECK_CUSTOM", "SPELLCHECK_MAIN", "ENCHANT_CONFIG_DIR"]:
            os.environ.pop(variable, None)
        report(args, word_sample(args), misspellings(args))
        return 0
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
