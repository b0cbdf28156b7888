#!/usr/bin/env python3
"""Times kelvarn-convert against ImageMagick and libvips on the workload of make-workload.sh.

Called by bench/run.sh with: BUILD_DIR REPS FLOOR_REPS. Every tool converts every file once per
repetition, the tools interleaved (their order turns with every file), each call measured by
/usr/bin/time. Per tool and direction the tables give the medians over the repetitions of the
summed wall and CPU (user + system) seconds, the largest peak resident size of one call and the
summed output size. The floors are measured in the same run by kelvarn_png_floors (zlib) and
kelvarn_png_stages (libdeflate and plain writes, beside the image library's own stages).
"""
import os
import statistics
import subprocess
import sys
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
WORK = HERE / "work"
IM = "/usr/bin/convert-im6.q16"
PNG_SETTINGS_IM = ["-interlace", "PNG", "-define", "png:compression-level=6",
                   "-define", "png:compression-filter=5", "-define", "png:compression-strategy=1",
                   "-strip"]
PNG_SETTINGS_VIPS = "[interlace,compression=6,filter=all,strip]"
MEMORY_ALLOWANCE = 30 * 1024 * 1024
# kelvarn's BMP -> PNG output on this workload before the filter choice took one pass per row;
# the output may not grow.
EARLIER_OUTPUT_BYTES = 53608382


def tools(build):
    convert = str(build / "kelvarn-convert")
    return {
        "png": {
            "kelvarn-convert": lambda s, t: [convert, "png", s, t],
            "ImageMagick 6": lambda s, t: [IM, s, *PNG_SETTINGS_IM, "PNG24:" + t],
            "libvips": lambda s, t: ["vips", "copy", s, t + PNG_SETTINGS_VIPS],
        },
        "bmp": {
            "kelvarn-convert": lambda s, t: [convert, "bmp", s, t],
            "ImageMagick 6": lambda s, t: [IM, s, "-strip", "BMP3:" + t],
            "libvips": lambda s, t: ["vips", "copy", s, t],
        },
    }


def timed(command):
    """Runs command under /usr/bin/time; returns (wall, cpu, peak bytes)."""
    report = WORK / "time.txt"
    result = subprocess.run(["/usr/bin/time", "-o", str(report), "-f", "%e %U %S %M", *command],
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    if result.returncode != 0:
        sys.exit("failed: %s\n%s" % (" ".join(command), result.stderr.decode(errors="replace")))
    wall, user, system, peak = report.read_text().split()[-4:]
    return float(wall), float(user) + float(system), int(peak) * 1024


def picture_bytes(path):
    """Pixel bytes (3 a pixel) of a picture, from its PNG header."""
    header = path.read_bytes()[16:24]
    width = int.from_bytes(header[:4], "big")
    height = int.from_bytes(header[4:], "big")
    return width, height


def run_direction(direction, sources, tool_table, reps, log):
    """Returns {tool: {"wall": [...], "cpu": [...], "peak": {...}, "size": n}}."""
    names = list(tool_table)
    results = {name: {"wall": [], "cpu": [], "peak": {}, "size": 0} for name in names}
    suffix = "." + direction
    for rep in range(reps):
        totals = {name: [0.0, 0.0] for name in names}
        for index, source in enumerate(sources):
            shift = (rep + index) % len(names)
            for name in names[shift:] + names[:shift]:
                folder = WORK / "out" / direction / name.replace(" ", "_")
                folder.mkdir(parents=True, exist_ok=True)
                target = folder / (source.stem + suffix)
                if target.exists():
                    target.unlink()
                wall, cpu, peak = timed(tool_table[name](str(source), str(target)))
                totals[name][0] += wall
                totals[name][1] += cpu
                record = results[name]
                record["peak"][source.stem] = max(record["peak"].get(source.stem, 0), peak)
                if rep == 0:
                    record["size"] += target.stat().st_size
        for name in names:
            results[name]["wall"].append(totals[name][0])
            results[name]["cpu"].append(totals[name][1])
        log("  %s repetition %d: %s" % (direction, rep + 1, ", ".join(
            "%s %.2fs wall %.2fs cpu" % (n, totals[n][0], totals[n][1]) for n in names)))
    return results


def floors(build, mode, reps, files):
    output = subprocess.run([str(build / "kelvarn_png_floors"), mode, str(reps), *map(str, files)],
                            check=True, capture_output=True, text=True).stdout.split("\n")
    per_file = {}
    total = 0.0
    for line in output:
        parts = line.split()
        if len(parts) >= 2 and parts[0] == "total":
            total = float(parts[1])
        elif len(parts) >= 2:
            per_file[Path(parts[0]).stem] = parts[1:]
    return total, per_file


def stages(build, mode, reps, files):
    """The image library's stages and their floors, CPU seconds summed over the files."""
    output = subprocess.run([str(build / "kelvarn_png_stages"), mode, str(reps), *map(str, files)],
                            check=True, capture_output=True, text=True).stdout.splitlines()
    parts = {"stages": [], "floors": []}
    current = None
    output_bytes = 0
    for line in output:
        if line in parts:
            current = parts[line]
        elif line.startswith("output-bytes "):
            output_bytes = int(line.split()[1])
        elif current is not None and line.strip():
            name, seconds = line.rsplit(" ", 1)
            current.append((name, float(seconds)))
    return parts["stages"], parts["floors"], output_bytes


def stage_table(title, stage_list, floor_list, whole_cpu, whole_wall, log):
    log("")
    log("| %s | kelvarn CPU s | floor | floor CPU s |" % title)
    log("|---|---|---|---|")
    for i in range(max(len(stage_list), len(floor_list))):
        stage = stage_list[i] if i < len(stage_list) else ("", None)
        floor = floor_list[i] if i < len(floor_list) else ("", None)
        log("| %s | %s | %s | %s |" % (
            stage[0], "" if stage[1] is None else "%.3f" % stage[1],
            floor[0], "" if floor[1] is None else "%.3f" % floor[1]))
    log("| whole kelvarn-convert runs (process start included; wall %.2f s) | %.3f | sum of the "
        "floors | %.3f |" % (whole_wall, whole_cpu, sum(f[1] for f in floor_list)))


def table(title, results, megapixels, floor_name, floor_seconds, log):
    log("")
    log("| %s | wall s | CPU s | MP/s (CPU) | peak MB (largest file) | output MB |" % title)
    log("|---|---|---|---|---|---|")
    for name, record in results.items():
        wall = statistics.median(record["wall"])
        cpu = statistics.median(record["cpu"])
        peak = max(record["peak"].values()) / 1e6
        log("| %s | %.2f | %.2f | %.2f | %.1f | %.2f |" % (
            name, wall, cpu, megapixels / cpu, peak, record["size"] / 1e6))
    log("| %s | | %.2f | %.2f | | |" % (floor_name, floor_seconds, megapixels / floor_seconds))


def ratios(direction, results, floor_seconds, target, log):
    """target: the most kelvarn's median wall time may be of the best peer's."""
    ours = results["kelvarn-convert"]
    our_cpu = statistics.median(ours["cpu"])
    our_wall = statistics.median(ours["wall"])
    peers = {n: r for n, r in results.items() if n != "kelvarn-convert"}
    best_cpu = min(statistics.median(r["cpu"]) for r in peers.values())
    best_wall = min(statistics.median(r["wall"]) for r in peers.values())
    verdict = "holds" if our_wall / best_wall <= target else "MISSED"
    log("%s: kelvarn wall / best peer = %.3f (target <= %.2f: %s); CPU / best peer = %.3f; "
        "CPU / floor = %.3f" % (direction, our_wall / best_wall, target, verdict,
                                our_cpu / best_cpu, our_cpu / floor_seconds))


def memory_line(direction, results, pixels, factor, log):
    """The peak may be `factor` times the picture's pixel bytes plus the allowance."""
    ours = results["kelvarn-convert"]["peak"]
    worst = max(ours[stem] - factor * pixels[stem] for stem in ours)
    verdict = "holds" if worst <= MEMORY_ALLOWANCE else "MISSED"
    log("%s: kelvarn peak memory - %.1f x pixel bytes, worst file = %.1f MB (target <= 30 MB: %s)"
        % (direction, factor, worst / 1e6, verdict))


def startup(program, platform_env, runs, log):
    """Milliseconds from process start to the first paint of the window, median of runs."""
    mark = WORK / "first-paint.txt"
    times = []
    for _ in range(runs):
        if mark.exists():
            mark.unlink()
        env = dict(os.environ, KELVARN_FIRST_PAINT_FILE=str(mark), **platform_env)
        started = time.time()
        child = subprocess.Popen([str(program)], env=env, cwd=str(WORK),
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        while time.time() - started < 20 and not (mark.exists() and mark.read_text().strip()):
            time.sleep(0.001)
        text = mark.read_text().strip() if mark.exists() else ""
        child.terminate()
        child.wait()
        if text:
            times.append((float(text.split()[0]) - started) * 1000)
    return statistics.median(times) if times else None


def batch_runs(build, reps, log):
    """The converter's own batch through its window (offscreen, driven by a script), one
    worker against two, both directions; outputs compared with kelvarn-convert's."""
    driven = build / "tests" / "app" / "kelvarn_driven"
    if not driven.exists():
        log("batch: %s not built, skipped" % driven)
        return
    root = WORK / "batch"
    program_dir = root / "program"
    program_dir.mkdir(parents=True, exist_ok=True)
    (root / "runtime").mkdir(mode=0o700, exist_ok=True)
    program = program_dir / "kelvarn"
    if program.exists():
        program.unlink()
    os.link(driven, program)
    cases = {"png": ("bmp", "click topng", "PNG"), "bmp": ("png", "click tobmp", "BMP")}
    wall = {}
    cpu = {}
    for rep in range(reps):
        for direction, (source, click, folder) in cases.items():
            order = (1, 2) if rep % 2 == 0 else (2, 1)
            for workers in order:
                out = program_dir / folder
                if out.exists():
                    for f in out.iterdir():
                        f.unlink()
                script = root / "script.txt"
                radio = ["click bmp"] if source == "bmp" else []
                script.write_text("\n".join(radio + ["folder " + str(WORK / "in" / source),
                                                      "click choose", "box", click, "close"]) + "\n")
                log_file = root / "log.txt"
                if log_file.exists():
                    log_file.unlink()
                env = dict(os.environ, QT_QPA_PLATFORM="offscreen",
                           XDG_RUNTIME_DIR=str(root / "runtime"),
                           KELVARN_DRIVER_SCRIPT=str(script), KELVARN_DRIVER_LOG=str(log_file),
                           KELVARN_BATCH_WORKERS=str(workers))
                report = WORK / "time.txt"
                subprocess.run(["/usr/bin/time", "-o", str(report), "-f", "%e %U %S",
                                str(program)], env=env, cwd=str(root), check=True,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                w, u, sy = report.read_text().split()[-3:]
                boxes = [l for l in log_file.read_text().splitlines() if l.startswith("box ")]
                if len(boxes) != 1 or "成功" not in boxes[0]:
                    sys.exit("batch %s with %d workers did not succeed: %s" % (
                        direction, workers, boxes))
                if rep == 0:
                    reference = WORK / "out" / direction / "kelvarn-convert"
                    for f in out.iterdir():
                        if f.read_bytes() != (reference / (f.stem + "." + direction)).read_bytes():
                            sys.exit("batch output %s differs from kelvarn-convert's" % f)
                wall.setdefault((direction, workers), []).append(float(w))
                cpu.setdefault((direction, workers), []).append(float(u) + float(sy))
    log("")
    log("| converter batch (offscreen window, whole program run) | workers | wall s | CPU s |")
    log("|---|---|---|---|")
    for direction, label in (("png", "BMP -> PNG"), ("bmp", "PNG -> BMP")):
        for workers in (1, 2):
            log("| %s | %d | %.2f | %.2f |" % (label, workers,
                                              statistics.median(wall[(direction, workers)]),
                                              statistics.median(cpu[(direction, workers)])))
    for direction, label in (("png", "BMP -> PNG"), ("bmp", "PNG -> BMP")):
        speedup = statistics.median(wall[(direction, 1)]) / statistics.median(wall[(direction, 2)])
        log("%s batch: 2 workers %.2f x faster than 1 (target >= 1.8: %s); outputs byte-identical "
            "to kelvarn-convert's" % (label, speedup, "holds" if speedup >= 1.8 else "MISSED"))


def xvfb_startup(build):
    """The same on an X server (Xvfb), when there is one on the machine."""
    if not Path("/usr/bin/Xvfb").exists():
        return ""
    server = subprocess.Popen(["/usr/bin/Xvfb", ":97", "-screen", "0", "1280x1024x24", "-nolisten",
                               "tcp"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(1.0)
        result = startup(build / "kelvarn", {"QT_QPA_PLATFORM": "xcb", "DISPLAY": ":97"}, 7,
                         None)
    finally:
        server.terminate()
        server.wait()
    return ", X server (Xvfb) %s ms" % ("%.0f" % result if result is not None else "n/a")


def main():
    build = Path(sys.argv[1]).resolve()
    reps = int(sys.argv[2])
    floor_reps = int(sys.argv[3])
    batch_reps = int(sys.argv[4]) if len(sys.argv) > 4 else 2
    log_path = WORK / "results.md"
    lines = []

    def log(text):
        print(text, flush=True)
        lines.append(text)

    pngs = sorted((WORK / "in" / "png").glob("*.png"))
    bmps = sorted((WORK / "in" / "bmp").glob("*.bmp"))
    sizes = {p.stem: picture_bytes(p) for p in pngs}
    pixels = {stem: w * h * 3 for stem, (w, h) in sizes.items()}
    megapixels = sum(w * h for w, h in sizes.values()) / 1e6
    table_tools = tools(build)
    log("workload: %d files, %.1f MP; %d cores; load average before: %s" % (
        len(pngs), megapixels, os.cpu_count(), " ".join("%.2f" % v for v in os.getloadavg())))

    # One untimed pass: every output is checked before anything is timed.
    log("checking outputs ...")
    for name, command in table_tools["png"].items():
        folder = WORK / "out" / "png" / name.replace(" ", "_")
        folder.mkdir(parents=True, exist_ok=True)
        for source in bmps:
            target = folder / (source.stem + ".png")
            subprocess.run(command(str(source), str(target)), check=True,
                           stdout=subprocess.DEVNULL)
        # libvips always writes a pHYs chunk; the others must write nothing but the picture.
        allowed = ["--allow", "pHYs"] if name == "libvips" else []
        check = subprocess.run([str(build / "kelvarn_png_floors"), "check", *allowed,
                                *map(str, sorted(folder.glob("*.png")))],
                               capture_output=True, text=True)
        failures = [l for l in check.stdout.splitlines() if not l.startswith("ok")]
        if check.returncode != 0:
            sys.exit("output check failed for %s:\n%s" % (name, "\n".join(failures)))
        log("  %s: %d outputs Adam7 8-bit RGB, IHDR/IDAT/IEND only%s" % (
            name, len(bmps), " (plus pHYs)" if allowed else ""))
    pixels_check = subprocess.run(
        [str(build / "kelvarn_png_reference"), "same-pixels", str(WORK / "in" / "png"),
         *map(str, sorted((WORK / "out" / "png" / "kelvarn-convert").glob("*.png")))],
        capture_output=True, text=True)
    if pixels_check.returncode != 0:
        sys.exit("kelvarn-convert's PNG pixels differ from the source:\n" + pixels_check.stdout)
    log("  kelvarn-convert: pixels identical to the source in all %d files" % len(bmps))
    reference = subprocess.run([str(build / "kelvarn_png_reference"), "sizes", "--", *map(str, pngs)],
                               capture_output=True, text=True, check=True).stdout.split()
    libpng_default_size = int(reference[reference.index("libpng-default") + 1])
    start = time.time()
    log("floors (median of %d runs per file) ..." % floor_reps)
    deflate_floor, _ = floors(
        build, "deflate", floor_reps, sorted((WORK / "out" / "png" / "kelvarn-convert").glob("*.png")))
    log("  zlib deflate level 6 of kelvarn's filtered Adam7 rows: %.2f s CPU" % deflate_floor)
    inflate_floor, _ = floors(build, "inflate", floor_reps, pngs)
    log("  inflate of the input PNGs' IDAT: %.2f s CPU" % inflate_floor)

    to_bmp_stages = stages(build, "tobmp", floor_reps, pngs)
    to_png_stages = stages(build, "topng", floor_reps, bmps)
    log("  stages of the image library and their libdeflate and write floors measured")

    log("timing, %d repetitions, tools interleaved ..." % reps)
    to_png = run_direction("png", bmps, table_tools["png"], reps, log)
    to_bmp = run_direction("bmp", pngs, table_tools["bmp"], reps, log)
    batch_runs(build, batch_reps, log)
    log("")
    offscreen = startup(build / "kelvarn", {"QT_QPA_PLATFORM": "offscreen"}, 7, log)
    log("start-up, process start to the window's first paint (median of 7): offscreen %s ms%s" % (
        "%.0f" % offscreen if offscreen is not None else "n/a", xvfb_startup(build)))
    log("timing took %.0f s; load average after: %s" % (
        time.time() - start, " ".join("%.2f" % v for v in os.getloadavg())))

    table("BMP -> PNG (%.1f MP)" % megapixels, to_png, megapixels,
          "floor: zlib level 6 on the filtered Adam7 rows", deflate_floor, log)
    table("PNG -> BMP (%.1f MP)" % megapixels, to_bmp, megapixels,
          "floor: zlib inflate of the input PNGs", inflate_floor, log)
    for title, record, (stage_list, floor_list, _) in (
            ("BMP -> PNG stage", to_png, to_png_stages), ("PNG -> BMP stage", to_bmp, to_bmp_stages)):
        ours = record["kelvarn-convert"]
        stage_table(title, stage_list, floor_list, statistics.median(ours["cpu"]),
                    statistics.median(ours["wall"]), log)
    log("")
    ratios("BMP -> PNG", to_png, deflate_floor, 0.25, log)
    ratios("PNG -> BMP", to_bmp, inflate_floor, 0.30, log)
    for label, record, (_, floor_list, _), aim in (
            ("BMP -> PNG", to_png, to_png_stages, 1.4), ("PNG -> BMP", to_bmp, to_bmp_stages, 2.0)):
        ours = statistics.median(record["kelvarn-convert"]["cpu"])
        # BMP -> PNG is set against its deflate alone, PNG -> BMP against inflate plus write.
        floor = floor_list[0][1] if label == "BMP -> PNG" else sum(f[1] for f in floor_list)
        log("%s: kelvarn CPU / libdeflate floor%s = %.2f (aim <= %.1f: %s)" % (
            label, "" if label == "BMP -> PNG" else " + write floor", ours / floor, aim,
            "holds" if ours / floor <= aim else "MISSED"))
    ours_size = to_png["kelvarn-convert"]["size"]
    log("BMP -> PNG output: kelvarn %.2f MB, libpng's default output of the same pictures %.2f MB "
        "(%.3f; target <= 1: %s)" % (ours_size / 1e6, libpng_default_size / 1e6,
                                     ours_size / libpng_default_size,
                                     "holds" if ours_size <= libpng_default_size else "MISSED"))
    log("BMP -> PNG output against kelvarn's earlier %.2f MB: %.4f (target <= 1: %s)" % (
        EARLIER_OUTPUT_BYTES / 1e6, ours_size / EARLIER_OUTPUT_BYTES,
        "holds" if ours_size <= EARLIER_OUTPUT_BYTES else "MISSED"))
    # The writer holds the filtered and the compressed stream beside the picture.
    memory_line("BMP -> PNG", to_png, pixels, 2.2, log)
    # The own PNG reader holds the inflated stream beside the picture (the compressed data is
    # gone before the picture's memory is taken).
    memory_line("PNG -> BMP", to_bmp, pixels, 2.2, log)
    log_path.write_text("\n".join(lines) + "\n")
    print("(written to %s)" % log_path)


if __name__ == "__main__":
    main()
