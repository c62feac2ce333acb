#!/usr/bin/env python3
"""Bytes at the same look: Trimjet's encoder against libjpeg-turbo and the peers.

encoder_rd.py PROBE WORKDIR: makes the corpus in WORKDIR (photos from the Plasma wallpapers at
half size, a screenshot-like and a scanned-page-like picture), encodes each at a row of
qualities with every encoder found, measures SSIMULACRA2 and the Butteraugli 3-norm, and prints
per picture the bytes of each encoder at SSIMULACRA2 70, 80, 90 and 3-norm 1.0 (interpolated
between qualities) as ratios to libjpeg-turbo, then geometric means and Trimjet against the
better peer. QUALITIES, SCALE (of the photos, 0.5) and SKIP (encoders) make a quicker run.
Peers live in ../shared/tools/peers (PEERS to change); without them only
libjpeg-turbo is compared."""
import glob, math, os, subprocess, sys
from concurrent.futures import ThreadPoolExecutor

probe, work = sys.argv[1], sys.argv[2]
peers = os.environ.get('PEERS', os.path.join(os.path.dirname(__file__), '../../shared/tools/peers'))
qualities = [int(q) for q in os.environ.get('QUALITIES', '30,45,60,70,78,85,90,94,97').split(',')]
scale = os.environ.get('SCALE', '0.5')  # of the 2560 x 1600 photos
skip = os.environ.get('SKIP', '').split(',')  # encoders left out
targets = [('s2 70', 70, True), ('s2 80', 80, True), ('s2 90', 90, True), ('ba 1.0', 1.0, False)]


def run(*cmd):
    return subprocess.run(cmd, check=True, capture_output=True, text=True).stdout


def corpus():
    os.makedirs(work, exist_ok=True)
    names = ['Autumn', 'BytheWater', 'ColdRipple', 'ColorfulCups', 'EveningGlow', 'FallenLeaf',
             'Kite', 'Path']
    for n in names:
        src = f'/usr/share/wallpapers/{n}/contents/images/2560x1600.jpg'
        if os.path.exists(src) and not os.path.exists(f'{work}/{n}.png'):
            # djpeg first: libvips refuses a few of these files' EXIF.
            subprocess.run(f'djpeg "{src}" >"{work}/t.ppm" && vips resize "{work}/t.ppm" '
                           f'"{work}/{n}.png" {scale}', shell=True, check=True)
    text = ' '.join(['Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod '
                     'tempor incididunt ut labore.'] * 40)
    if not os.path.exists(f'{work}/Scan.png'):  # dark print on off-white paper, with grain
        subprocess.run(f'''cd "{work}" && vips text t.v "{text}" --width 1000 --dpi 110 &&
          vips invert t.v i.v && vips linear i.v l.v 0.88 8 &&
          vips gaussnoise n.v $(vipsheader -f width t.v) $(vipsheader -f height t.v) --sigma 6 &&
          vips add l.v n.v a.v && vips gaussblur a.v b.v 0.6 && vips cast b.v c.v uchar &&
          vips bandjoin "c.v c.v c.v" d.v && vips linear d.v Scan.png "1 0.98 0.92" "0 0 0" --uchar''',
                       shell=True, check=True)
    if not os.path.exists(f'{work}/Screenshot.png'):  # flat colours, coloured text and a photo
        subprocess.run(f'''cd "{work}" && vips black bg.v 1000 700 --bands 3 &&
          vips linear bg.v bg2.v 1 236 --uchar &&
          vips text tt.v "{text[:900]}" --width 560 --dpi 90 &&
          vips bandjoin "tt.v tt.v tt.v" t3.v && vips linear t3.v tc.v "0.2 0.5 0.9" "0 0 0" --uchar &&
          vips insert bg2.v tc.v s1.v 20 60 &&
          vips resize "{work}/Kite.png" k.v 0.3 && vips insert s1.v k.v s2.v 600 60 &&
          vips black bar.v 1000 40 --bands 3 && vips linear bar.v bar2.v "0.9 1 1" "40 90 200" --uchar &&
          vips insert s2.v bar2.v Screenshot.png 0 0''', shell=True, check=True)
    for f in glob.glob(f'{work}/*.v') + glob.glob(f'{work}/*.ppm'):
        os.remove(f)
    return sorted(glob.glob(f'{work}/*.png'))


def encoders():
    e = {'turbo': lambda s, q, o: run(probe, s, o, str(q), 'plain'),
         'trimjet': lambda s, q, o: run(probe, s, o, str(q)),
         'trimjet-prog': lambda s, q, o: run(probe, s, o, str(q), 'progressive')}
    if os.access(f'{peers}/moz-cjpeg', os.X_OK):
        e['mozjpeg'] = lambda s, q, o: subprocess.run(
            f'vips copy "{s}" "{o}.ppm" && "{peers}/moz-cjpeg" -quality {q} -outfile "{o}" "{o}.ppm"'
            f' && rm "{o}.ppm"', shell=True, check=True)
    if os.access(f'{peers}/cjpegli', os.X_OK):
        e['jpegli'] = lambda s, q, o: run(f'{peers}/cjpegli', s, o, '-q', str(q))
    return {n: f for n, f in e.items() if n not in skip}


def measure(job):
    name, encode, src, q = job
    out = f'{src}.{name}.{q}.jpg'
    encode(src, q, out)
    size = os.path.getsize(out)
    s2 = float(run(f'{peers}/ssimulacra2', src, out).split()[-1])
    ba = float(run(f'{peers}/butteraugli_main', src, out, '--pnorm', '3').split()[-1])
    os.remove(out)
    return name, src, q, size, s2, ba


def at(points, target, higher):
    """Bytes where the measure first reaches target, log-interpolated between qualities."""
    points.sort()
    for (_, b0, m0), (_, b1, m1) in zip(points, points[1:]):
        if higher and not m0 < target <= m1: continue
        if not higher and not m0 > target >= m1: continue
        t = (target - m0) / (m1 - m0)
        return math.exp(math.log(b0) + t * (math.log(b1) - math.log(b0)))
    return float('nan')


def main():
    pictures = corpus()
    enc = encoders()
    if not os.access(f'{peers}/ssimulacra2', os.X_OK):
        sys.exit('the measures ssimulacra2 and butteraugli_main are needed (PEERS)')
    jobs = [(n, f, p, q) for n, f in enc.items() for p in pictures for q in qualities]
    results = {}
    with ThreadPoolExecutor(2) as pool:
        for name, src, q, size, s2, ba in pool.map(measure, jobs):
            results.setdefault((name, src), []).append((q, size, s2, ba))
    names = list(enc)
    print('bytes as a ratio to libjpeg-turbo at', ', '.join(t[0] for t in targets))
    print('%-14s' % 'picture' + ''.join('%-26s' % n for n in names))
    logs = {n: [[] for _ in targets] for n in names}
    best = [[] for _ in targets]
    worse = []
    for p in pictures:
        row = '%-14s' % os.path.basename(p)[:-4][:13]
        sizes = {}
        for n in names:
            r = results[(n, p)]
            sizes[n] = [at([(q, b, s if hi else a) for q, b, s, a in r], t, hi)
                        for _, t, hi in targets]
        for n in names:
            ratios = [x / y for x, y in zip(sizes[n], sizes['turbo'])]
            for k, v in enumerate(ratios):
                if v == v: logs[n][k].append(math.log(v))
            row += '%-26s' % ' '.join('%.3f' % v for v in ratios)
            if n == 'trimjet' and any(v > 1 for v in ratios if v == v): worse.append(row[:14].strip())
        if 'mozjpeg' in sizes and 'jpegli' in sizes:
            for k in range(len(targets)):
                peer = min(sizes['mozjpeg'][k], sizes['jpegli'][k])
                v = sizes['trimjet'][k] / peer
                if v == v: best[k].append(math.log(v))
        print(row)
    mean = lambda l: math.exp(sum(l) / len(l)) if l else float('nan')
    print('%-14s' % 'geomean' + ''.join('%-26s' % ' '.join('%.3f' % mean(l) for l in logs[n]) for n in names))
    if any(best):
        print('trimjet / better of mozjpeg and jpegli:', ' '.join(
            '%s %.3f' % (t[0], mean(l)) for t, l in zip(targets, best)), '(goal: 0.95 or less)')
    print('pictures where trimjet is larger than libjpeg-turbo:', ', '.join(worse) or 'none')


main()
