#!/usr/bin/env python3
"""Expected heading of the report and pattern plot file for the two-station
ILS case (../ils_two_stations) with FmHor03.pat holding 100, 99, ..., 64 %,
written out line by line from the report's layouts."""
import math

D2R, R2D = 0.0174532925199433, 57.2957795131


def lldist(lat1, lon1, lat2, lon2):
    x = (lon1 - lon2) * math.cos(((lat1 + lat2) / 2.0) * D2R)
    y = lat2 - lat1
    b = math.atan2(x, y) * R2D
    return 60.0 * math.sqrt(x * x + y * y), b + 360 if b < 0 else b


nav = (40 + 30 / 60 + 15 / 3600, 75 + 20 / 60 + 30 / 3600)
st1 = (40 + 35 / 60, 75 + 25 / 60)
st2 = (40 + 20 / 60, 75 + 10 / 60)
r1 = lldist(*st1, *nav)
r2 = lldist(*st2, *nav)
us = '_' * 80
lines = [
    ' Corvane, Version 5.0', '',
    ' Airspace Case:         ILX TEST CASE  ',
    ' Site:                  Lakeside Municipal       ',
    ' Date:                  01/02/24', '',
    ' Facility Identifier:   ILX',
    ' Facility Frequency:    110.100 MHz', '',
    ' Facility Latitude:      40\xb0 30\' 15"',
    ' Facility Longitude:     75\xb0 20\' 30"', '',
    ' Runway Heading:        123.0 deg (true)',
    ' Runway Elevation:        500 ft MSL',
    ' Runway Length:          8000 ft', '', '',
    ' Prop ID  Call      Freq   Latitude  Longitude    ERP   Height Range  Radial  Lic',
    '                    MHz                           kW    ft MSL  nmi    true',
    ' ' + us, '',
    '  *    1  WAAA-FM 101.100  40 35 00   75 25 00  50.0000   800 %6.2f  %6.2f  LIC' % r1,
    '       3  WCCC     98.500  40 20 00   75 10 00  25.0000  1200 %6.2f  %6.2f  CP ' % r2,
    '', '', ' The following stations use a directional antenna: ', '',
    '    ID   Call      Rotation      File        Description', '',
    '      1    WAAA-FM    45.0    FmHor03.pat    ' + 'Three'.ljust(25),
    '', ' ' + '_' * 77,
    ' ' + us, '', '', '',
    ' Interference thresholds are computed using the following:', '',
    ' Facility antenna type:       ' + 'ILS Localizer (default)'.ljust(45),
    ' Service volume type:         ' + 'ILS U.S. Standard'.ljust(45),
    ' Receiver antenna rejection:  ' + ' ' * 45,
    ' Interference criteria:       ' + ' ' * 45,
    ' Cutoff criteria:             ' + ' ' * 45,
    ' ' + us, '']
open('Rfi.txt', 'wb').write(''.join(l + '\r\n' for l in lines).encode('cp1252'))

ptx = ['    FM horizontal pattern data description:  ' + 'Three'.ljust(25), '', '',
       '           Angle         Rel. Signal         Rel. Signal',
       '           (deg)         Strength (%)       Strength (dB)', '']
for k in range(181):
    angle = 2.0 * k
    t = angle / 10.0
    i = min(int(t), 35)
    pct = (100 - i) - (t - i)  # linear between the 10-degree points
    db = 20 * math.log10(pct / 100)
    ptx.append(' %15.1f%18.2f%19.2f' % (angle, 100 * 10 ** (db / 20), db))
open('FmHorU03.ptx', 'wb').write(''.join(l + '\r\n' for l in ptx).encode('cp1252'))
