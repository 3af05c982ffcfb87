"""Random exchange files as a host writes them, deterministic from a seed."""
import random


def number(rng):
    v = rng.choice([rng.uniform(-60, 60), round(rng.uniform(-60, 60), 1), rng.randint(-40, 40)])
    return ("%r" % v) if isinstance(v, float) else str(v)


def boundary(rng):
    kind = rng.randrange(5)
    cx, cy, r = number(rng), number(rng), "%g" % rng.uniform(1, 40)
    if kind == 0:
        return "ci %s %s %s" % (cx, cy, r)
    a = rng.choice([0, 30, 45, 90, 300, -90, rng.uniform(-360, 360)])
    e = rng.choice([a, 0, 90, 360, 180, rng.uniform(-360, 720)])
    ratio = rng.choice([0, 1, 0.5, rng.uniform(0.1, 2)])
    tilt = rng.choice([0, 30, 90, rng.uniform(-180, 180)])
    return "ci %s %s %s %r %r %r %r" % (cx, cy, r, a, e, ratio, tilt)


def drawing(seed, records=60):
    rng = random.Random(seed)
    lines = ["hq", "hs " + " ".join("%g" % rng.choice([1, 1, 10, 0.5]) for _ in range(16)),
             "lg%x" % rng.randrange(4), "ly%x" % rng.randrange(30), "lc%d" % rng.randrange(1, 9),
             "lt%d" % rng.randrange(1, 6), "hhp1ci", boundary(rng), "# drawing %d" % seed]
    in_block = False
    for _ in range(records):
        k = rng.random()
        if rng.random() < 0.15:
            lines.append("z%d" % rng.choice([1, 2, 3, 4, 6, 0]))
        if k < 0.45:
            lines.append(" %s %s %s %s" % tuple(number(rng) for _ in range(4)))
        elif k < 0.55:
            if in_block:
                lines.append("#")
            else:
                lines.append("pl")
            in_block = not in_block
        elif k < 0.65:
            lines.append("pt %s %s" % (number(rng), number(rng)))
        elif k < 0.72:
            lines.append("ch %s %s %s %s text %d" % (number(rng), number(rng), number(rng), number(rng), rng.randrange(99)))
        elif k < 0.78:
            lines.append(boundary(rng))
        elif k < 0.88:
            lines.append(rng.choice(["lc%d" % rng.randrange(0, 9), "lt%d" % rng.randrange(0, 6), "pn%d" % rng.randrange(9),
                                     "cn%d" % rng.randrange(9), "cn0 2.5 3 0.5 2"]))
        else:
            lines.append(rng.choice(["#", "hp1+ 1 2", "co 1 2", "\x82\xa0\x82\xa2", ""]))
    return ("\r\n".join(lines) + "\r\n").encode("latin-1")


def options(seed):
    rng = random.Random(seed * 7 + 1)
    opts = ["-m%d" % rng.choice([0, 1, 1, 2, 3, 4, 5, 6])]
    if rng.random() < 0.3:
        opts.append("-e%d" % rng.choice([0, 25, 11, 32]))
    if rng.random() < 0.2:
        opts.append("-f%d" % rng.choice([0, 21, 43]))
    if rng.random() < 0.2:
        opts.append(rng.choice(["-t", "-t2"]))
    # Drawn after the others, so that each seed keeps the options it had before these.
    if rng.random() < 0.4:
        opts.append("-i")
    if rng.random() < 0.5:
        opts.append("-c")
    if rng.random() < 0.3:
        opts.append("-k%d" % rng.choice([0, 42, 125, -31]))
    if rng.random() < 0.3:
        opts.append(rng.choice(["-a", "-a25", "-a37"]))
    return opts
