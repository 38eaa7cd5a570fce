CRV Version 5.0.6
 QVT   0 112.000  38 40 00   78 10 00  1210     0 100 36  6   0     0 
 QVAA    107.700  38 45 39   78 02 45  40.0000  1476 19  0   0  1 LIC     0
 QVAB    103.400  38 30 09   78 12 13  25.0000  1280 13  3  45  0 LIC     0
 QVAC    103.200  38 43 13   78 14 54   6.0000  1083  0  0   0  0 LIC     0
 QVNW    107.500  38 42 28   78 09 27   3.0000  1600 13  0   0  1 APP     0
 $$$$
  1  2  1  1  1  2  1000   0 3000 500  0  0
 QVT VOR         TESSALY VORTAC, ZA        03/14/24 30
 VOR, Generic
 VOR, Low Altitude
 Horizontal Only, Bottom of FPSV
 3rd Order On-Channel Only
 QVA Antenna Regression Curve
 QVA Empirical Regression
 QVA Empirical Cutoff
 Print Extended Summaries
