#!/usr/bin/env python3
"""Expected receiver-point files for the grid tests, worked out from the grid
rules on their own (flat-earth positions, service-volume table, ring radii,
sector edges...). Every case uses the constant-level localizer, VOR or COM
antenna (array type 1) and antenna rejection type 3 (12.5 dB above 108 MHz), so
each level is the constant level less 12.5 dB.

Run from this folder: python3 make_goldens.py  (writes <case>/Rfi.plt,
<case>/RcvrTest.pts when the case has one, and <case>/expected*.plx)."""
import math
import os
import struct

D2R = 0.0174532925199433
R2D = 57.2957795131
FT = 6076.115


def wrap(a, lo, hi):
    r = hi - lo
    while a >= hi:
        a -= r
    while a < lo:
        a += r
    return a


def lldist(lat1, lon1, lat2, lon2):
    dlon = wrap(lon1 - lon2, -180.0, 180.0)
    x = dlon * math.cos(((lat1 + lat2) / 2.0) * D2R)
    y = lat2 - lat1
    d = 60.0 * math.sqrt(x * x + y * y)
    if d < 0.00001:
        return 0.00001, 0.0
    b = math.atan2(x, y) * R2D
    if b < 0:
        b += 360.0
    return d, b


def distll(d, b, lat, lon):
    t = b * D2R
    delta = d / 60.0
    nlat = lat + delta * math.cos(t)
    nlon = lon - delta * math.sin(t) / math.cos(((lat + nlat) / 2.0) * D2R)
    return nlat, nlon


def dms(d, m, s):
    f = abs(m / 60.0 + s / 3600.0)
    return d - f if d < 0 else d + f


VOLUMES = {0: (10, 18, 4500, 1000), 1: (17, 25, 6250, 1000), 2: (10, 18, 4500, 1000), 3: (17, 25, 6250, 1000),
           4: (10, 18, 10000, 0), 5: (0, 25, 12000, 1000), 6: (0, 40, 18000, 1000), 7: (0, 40, 18000, 1000)}
CONSTANT = {'loc': -86.0, 'vor': -79.0, 'com': -87.0}
REJECTION = 12.5


class Case:
    def __init__(self, name, nav, stations, opts, user_points=None):
        self.name, self.nav, self.stations, self.opts, self.user_points = name, nav, stations, opts, user_points

    # ---- the case file ----
    def case_lines(self):
        n = self.nav
        lines = ['CRV Version 5.0.6',
                 ' %-3s %3d %7.3f %3d %2d %2d %4d %2d %2d %5d %5d %3d %2d %2d %3d %5d ' % (
                     n['id'], n['hdg'], n['freq'], *n['lat'], *n['lon'], n['elev'], n['rwy'], 100, 1, n['svt'],
                     n.get('radius', 0), n.get('height', 0))]
        for s in self.stations:
            lines.append(' %-7s %7.3f %3d %02d %02d %4d %02d %02d %8.4f %5d %2d %2d %3d %2d %-3s     0' % (
                s['call'], s['freq'], *s['lat'], *s['lon'], 10.0, s['elev'], 0, 0, 0, s.get('prop', 0), 'LIC'))
        lines.append(' $$$$')
        o = self.opts
        lines.append('%3d  0  3  1  1  1 %5d %3d %4d %3d %2d  0' % (
            o['grid'], o.get('alt', 0), o.get('angle', 0), o['dx'], o.get('dz', 500), o.get('pre', 0)))
        lines.append(' %-15s %-25s %-8s 30' % ('GRID TEST', 'Test Field', '01/02/24'))
        return lines

    # ---- the grid ----
    def setup(self):
        n, o = self.nav, self.opts
        self.lat, self.lon = dms(*n['lat']), dms(*n['lon'])
        self.svt = n['svt']
        if o['grid'] == 12 and self.svt in (0, 2):
            self.svt += 1
        if self.svt <= 7:
            self.r35, self.R, self.H, self.F = VOLUMES[self.svt]
        else:
            self.r35, self.R, self.H, self.F = 0, n['radius'], n['height'], 0
        self.sect = self.svt <= 4
        self.course = float(n['hdg']) if self.sect else 0.0
        self.a = 0.0 if self.svt in (2, 3) else n['rwy'] + 1000.0
        self.elev = float(n['elev'])
        self.kind = 'loc' if self.sect else ('vor' if self.svt <= 7 else 'com')
        self.st = [dict(s, la=dms(*s['lat']), lo=dms(*s['lon'])) for s in self.stations]
        if o['grid'] in (4, 6):
            p = [s for s in self.st if s.get('prop') == 1][-1]
            d, b = lldist(self.lat, self.lon, p['la'], p['lo'])
            self.angle = wrap(b + (180.0 if self.sect else 0.0), 0.0, 360.0)
        else:
            self.angle = wrap(float(o.get('angle', 0)), 0.0, 360.0)

    def in_sector(self, az, s, e):
        return s <= az <= e if s <= e else (az >= s or az <= e)

    def in_volume(self, d, az):
        if not (0.164 <= d <= self.R):
            return False
        if not self.sect:
            return True
        if d <= self.r35:
            ok = self.in_sector(az, wrap(self.course - 35, 0, 360), wrap(self.course + 35, 0, 360))
        else:
            ok = self.in_sector(az, wrap(self.course - 10, 0, 360), wrap(self.course + 10, 0, 360))
        return ok and not (self.svt == 4 and d < self.a / FT)

    def floor(self, d):
        t = self.svt
        if t <= 3:
            e = d * FT
            if e <= self.a:
                return 0.0
            if e >= self.a + self.F / math.tan(2 * D2R):
                return float(self.F)
            return math.tan(2 * D2R) * (e - self.a)
        if t == 5:
            for lim, k, c in ((6.5, 0, 0), (10.5, 37.5, -225), (14.5, 43.75, -310), (19.5, 55, -475)):
                if d < lim:
                    return k * d + c
            return 72.2 * d - 800 if d <= 25 else float(self.H)
        if t in (6, 7):
            for lim, k, c in ((10, 0, 0), (15, 14, -108), (21, 22, -225), (26, 30, -410), (33, 42.86, -775)):
                if d < lim:
                    return k * d + c
            return 57 * d - 1280 if d <= 40 else float(self.H)
        return float(self.F)

    def top(self, d):
        e = d * FT
        if self.svt <= 3:
            return min(e * math.tan(7 * D2R), self.H)
        if self.svt == 4:
            return min(e * math.tan(15 * D2R), self.H)
        return float(self.H)

    def limit(self, g, d):
        if g in (1, 6, 7, 9):
            return self.elev + self.floor(d), True
        if g in (2, 10):
            return self.elev + self.top(d), True
        alt = float(self.opts.get('alt', 0))
        return alt, self.elev + self.floor(d) <= alt <= self.elev + self.top(d)

    def offsets(self):
        step, last = (50.0, 1150.0) if self.sect else (100.0, 8500.0)
        out, r, inc = [], 100.0, step
        while r <= last:
            out.append(r)
            r += inc
            inc += step
        return out

    def point(self, pid, d, az, alt, la, lo):
        return (pid, d, az, alt + 6.8, la, lo, CONSTANT[self.kind] - REJECTION)

    def grid_h(self, dx, first):
        g, pts = self.opts['grid'], []
        for s_index, s in enumerate(self.st, 1):
            for rad in self.offsets():
                r = rad / FT
                for beta in (self.course, self.course + 180, self.course - 90, self.course + 90):
                    b = beta * D2R
                    la = s['la'] + r * math.cos(b) / 60.0
                    lo = s['lo'] - r * math.sin(b) / abs(math.cos(s['la'] * D2R)) / 60.0
                    d, br = lldist(self.lat, self.lon, la, lo)
                    az = wrap(br + 180, 0, 360)
                    alt, ok = self.limit(g, d)
                    if self.in_volume(d, az) and ok:
                        pts.append(self.point(s_index, d, az, alt, la, lo))
        n = round(self.R / dx)
        m = round(math.sin(35 * D2R) * self.r35 / dx) if self.sect else n
        xs = range(0, n + 1) if self.sect else range(-n, n + 1)
        for y in range(m, -m - 1, -1):
            for x in xs:
                d = math.sqrt((x * dx) ** 2 + (y * dx) ** 2)
                az = wrap(math.atan2(y, x) * R2D + self.course, 0, 360)
                if not self.in_volume(d, az):
                    continue
                alt, ok = self.limit(g, d)
                if ok:
                    la, lo = distll(d, az + 180, self.lat, self.lon)
                    pts.append(self.point(0, d, az, alt, la, lo))
        if self.sect and first:
            c = wrap(self.course + 180, 0, 360)
            s = 1000.0 if self.svt in (2, 3) else self.a / 10
            edge = [(k * s / FT, c + side) for side in (34.99, -34.99) for k in range(1, 11 if self.svt == 4 else 10)]
            edge += [(self.r35 - 0.01, c + side) for side in (34.99, -34.99)]
            edge += [(self.R - 0.01, c + side) for side in (9.99, -9.99)]
            for d, b in edge:
                b = wrap(b, 0, 360)
                alt, ok = self.limit(g, d)
                if ok:
                    la, lo = distll(d, b, self.lat, self.lon)
                    pts.append(self.point(0, d, wrap(b + 180, 0, 360), alt, la, lo))
        return pts

    def column(self, P, x, pid):
        la, lo = distll(x, P + 180, self.lat, self.lon)
        fl, tp = self.limit(1, x)[0], self.limit(2, x)[0]
        g = self.opts['grid']
        if g == 9:
            alts = [fl]
        elif g == 10:
            alts = [tp]
        elif g == 11:
            alt = float(self.opts.get('alt', 0))
            alts = [alt] if fl <= alt <= tp else []
        else:
            alts, k = [], 0
            while tp - k * self.opts['dz'] > fl:
                alts.append(tp - k * self.opts['dz'])
                k += 1
            alts.append(fl)
        return [self.point(pid, x, P, a, la, lo) for a in alts]

    def grid_v(self, dx):
        P = wrap(self.angle + (0 if self.sect else 180), 0, 360)
        offs = self.offsets()
        big = offs[-1] / FT
        pts = []
        for s_index, s in enumerate(self.st, 1):
            r, b = lldist(self.lat, self.lon, s['la'], s['lo'])
            t = wrap(wrap(b + 180, 0, 360) - P, -180, 180)
            if r <= self.R + big and abs(t) <= 90 and r * math.sin(abs(t) * D2R) <= big:
                o = r * math.cos(t * D2R)
                for a in offs:
                    for x in (o - a / FT, o + a / FT):
                        if self.in_volume(x, P):
                            pts += self.column(P, x, s_index)
        k = 0
        while k * dx <= self.R:
            if self.in_volume(k * dx, P):
                pts += self.column(P, k * dx, 0)
            k += 1
        return pts, P

    def station_column(self, sid, d, az, la, lo, fl, tp):
        pts, k = [], 0
        if tp > fl:
            while tp - k * self.opts['dz'] > fl:
                pts.append(self.point(-sid, d, az, tp - k * self.opts['dz'], la, lo))
                k += 1
        pts.append(self.point(sid, d, az, fl, la, lo))
        return pts

    def grid_12(self):
        pts = []
        if self.sect:
            table = [(0, 0, 0), (1.62, 0, 0), (3.24, 0, 492.1), (4.86, 0, 984.3), (6.48, 0, 1476.4), (8.1, 0, 1968.5),
                     (11.47, 0, 1968.5), (14.85, 0, 1968.5), (18.22, 0, 1968.5), (21.6, 0, 1968.5), (25.0, 0, 1968.5),
                     (17.0, -35, 1968.5), (4.16, -35, 1968.5), (6.97, -25.5, 1968.5), (10.15, -17.2, 1968.5),
                     (13.44, -12.9, 1968.5), (17.0, -10, 1968.5), (20.14, -8.6, 1968.5), (23.49, -7.3, 1968.5),
                     (9.99, -35, 1968.5), (12.96, -27.6, 1968.5), (15.98, -22.1, 1968.5)]
            table += [(d, -a, h) for d, a, h in table[11:]]
            for d, a, h in table:
                az = wrap(self.course + a, 0, 360)
                la, lo = distll(d, az + 180, self.lat, self.lon)
                pts.append(self.point(0, d, az, self.elev + h, la, lo))
            for sid, s in enumerate(self.st, 1):
                d, b = lldist(self.lat, self.lon, s['la'], s['lo'])
                az = wrap(b + 180, 0, 360)
                if d <= 6.4794817 and self.in_sector(az, wrap(self.course - 7.5, 0, 360), wrap(self.course + 7.5, 0, 360)):
                    fl = float(s['elev'])
                elif self.in_volume(d, az):
                    fl = max(s['elev'] + 492.126, self.elev + 1974.0748)
                else:
                    continue
                pts += self.station_column(sid, d, az, s['la'], s['lo'], fl, self.limit(2, d)[0])
        else:
            tp = self.H + self.elev
            base = self.elev + (40.0 if self.svt == 8 else 16.000656)
            for sid, s in enumerate(self.st, 1):
                d, b = lldist(self.lat, self.lon, s['la'], s['lo'])
                az = wrap(b + 180, 0, 360)
                if d <= self.R + 1.6198704:
                    l1, l2 = s['elev'] + 984.252, base + 1968.50390625
                else:
                    l1, l2 = float(s['elev']), 1968.50390625
                la, lo = s['la'], s['lo']
                if d > self.R:
                    d = float(self.R)
                    la, lo = distll(self.R, b, self.lat, self.lon)
                e = 500 if d < 50 else ((0.56555 * d - 34.849) * d + 821.525 if d < 140 else 121.025 * d - 10046.9)
                fl = max(e / 0.3048 + base, l1, l2)
                pts += self.station_column(sid, d, az, la, lo, fl, tp)
        return pts

    def grid_8(self):
        code, rows = self.user_points
        pts = []
        for row in rows:
            if code == 0:
                r, b, alt = row
                if r < 0:
                    r, b = -r, b - 180
                b = wrap(b, 0, 360)
                la, lo = distll(r, b + 180, self.lat, self.lon)
                pts.append(self.point(0, r, b, alt, la, lo))
                continue
            if code == 1:
                # A degrees text "-0" marks a point less than a degree south.
                la = -dms(0, row[1], row[2]) if row[0] == '-0' else dms(row[0], row[1], row[2])
                lo, alt = dms(row[3], row[4], row[5]), row[6]
            elif code == 2:
                la, lo, alt = row
            else:
                la = -(abs(row[0]) + abs(row[1]) / 60.0) if row[0] < 0 else row[0] + abs(row[1]) / 60.0
                lo = -(abs(row[2]) + abs(row[3]) / 60.0) if row[2] < 0 else row[2] + abs(row[3]) / 60.0
                alt = row[4]
            d, b = lldist(self.lat, self.lon, la, lo)
            pts.append(self.point(0, d, wrap(b + 180, 0, 360), alt, la, lo))
        return pts

    # ---- the file ----
    def header(self, name):
        n, o = self.nav, self.opts

        def text(t, w):
            return t.ljust(w)[:w].encode('cp1252')
        f32 = lambda v: struct.pack('<f', v)
        i16 = lambda v: struct.pack('<h', v)
        recs = [text('CRV Version 5.0.6', 20), text('GRID TEST', 15), text('Test Field', 25), text('01/02/24', 8),
                text(name, 12), text(n['id'] + ' receiver points', 80), text('', 80), f32(n['hdg']), f32(n['freq']),
                f32(n['elev']), f32(self.a), i16(self.svt), text(n['id'], 3), f32(n.get('radius', 0)),
                f32(n.get('height', 0)), i16(o['grid']), f32(o.get('alt', 0)), f32(self.angle)]
        return recs

    @staticmethod
    def frame(recs):
        return b''.join(struct.pack('<i', len(r)) + r + struct.pack('<i', len(r)) for r in recs)

    @staticmethod
    def rec(p):
        return struct.pack('<hffffff', *p)

    def build(self):
        self.setup()
        g, dx = self.opts['grid'], self.opts['dx'] / FT
        end_h = struct.pack('<hffffff', 9999, 0, 0, 0, 0, 0, 0)
        files = {}
        recs = self.header('Rcvr_Loc.plx')
        if g in (1, 2, 3, 6, 7):
            recs += [self.rec(p) for p in self.grid_h(dx, True)] + [end_h]
        if g in (4, 5, 6, 7, 9, 10, 11):
            pts, P = self.grid_v(dx)
            recs += [self.rec(p) for p in pts] + [struct.pack('<hfffffff', 9999, 0, 0, P, 0, 0, 0, 0)]
        if g == 8:
            recs += [self.rec(p) for p in self.grid_8()] + [end_h]
        if g == 12:
            recs += [self.rec(p) for p in self.grid_12()] + [end_h]
        files['expected.plx'] = self.frame(recs)
        if self.opts.get('pre') and g in (1, 2, 3, 6, 7):
            pts = self.grid_h(8 * dx, False)
            files['expected8.plx'] = self.frame(self.header('Rcvr8Loc.plx') + [self.rec(p) for p in pts] + [end_h])
        return files


ILS = dict(id='ILX', hdg=123, freq=110.1, lat=(40, 30, 15), lon=(75, 20, 30), elev=500, rwy=8000, svt=0)
ST1 = dict(call='WAAA-FM', freq=101.1, lat=(40, 35, 0), lon=(75, 25, 0), elev=800, prop=1)
ST2 = dict(call='WCCC', freq=98.5, lat=(40, 20, 0), lon=(75, 10, 0), elev=1200)
NEAR = dict(call='WNEAR', freq=99.1, lat=(40, 34, 0), lon=(75, 10, 0), elev=900, prop=1)

CASES = [
    Case('ils_type0', ILS, [ST1, ST2], dict(grid=1, dx=6000)),
    Case('tls_top', dict(ILS, id='TLS', svt=4, hdg=10), [ST1], dict(grid=2, dx=6000)),
    Case('vor_terminal', dict(ILS, id='VRT', svt=5, freq=113.3), [NEAR], dict(grid=1, dx=12000)),
    Case('com_small', dict(ILS, id='COM', svt=8, freq=125.0, radius=5, height=3000), [NEAR], dict(grid=2, dx=3000)),
    Case('grid8_code0', ILS, [ST1], dict(grid=8, dx=0), (0, [(5.0, 120.0, 2000), (-3.0, 300.0, 1500), (2.5, 350.0, 800)])),
    Case('grid8_code1', ILS, [ST1], dict(grid=8, dx=0), (1, [(40, 35, 10, 75, 15, 20, 2500), ('-0', 10, 0, 75, 0, 0, 900)])),
    Case('grid8_code2', ILS, [ST1], dict(grid=8, dx=0), (2, [(40.6, 75.3, 3000), (40.45, 75.41, 1200)])),
    Case('grid8_code3', ILS, [ST1], dict(grid=8, dx=0), (3, [(40, 36.5, 75, 12.25, 2200)])),
    Case('grid12_ils', ILS, [ST1, ST2, NEAR], dict(grid=12, dx=0, dz=1000)),
    Case('grid12_vor', dict(ILS, id='VRT', svt=5, freq=113.3), [ST1, NEAR], dict(grid=12, dx=0, dz=2000)),
    Case('grid6_prescreen', ILS, [ST1, ST2], dict(grid=6, dx=12000, dz=1000, pre=1)),
]


def pts_lines(code, rows):
    out = ['Grid test points', str(code)]
    for row in rows:
        out.append(' '.join(str(v) for v in row))
    return out


if __name__ == '__main__':
    here = os.path.dirname(os.path.abspath(__file__))
    for case in CASES:
        folder = os.path.join(here, case.name)
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, 'Rfi.plt'), 'wb') as f:
            f.write(''.join(l + '\r\n' for l in case.case_lines()).encode('cp1252'))
        if case.user_points:
            code, rows = case.user_points
            lines = pts_lines(code, rows)
            with open(os.path.join(folder, 'RcvrTest.pts'), 'wb') as f:
                f.write(''.join(l + '\r\n' for l in lines).encode('cp1252'))
        for name, data in case.build().items():
            with open(os.path.join(folder, name), 'wb') as f:
                f.write(data)
        print(case.name, {k: len(v) for k, v in case.build().items()})
