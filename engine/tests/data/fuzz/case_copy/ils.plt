CRV Version 5.0.6
 ILX 123 110.100  40 30 15   75 20 30   500  8000  15  0  0  18  4500 
 WAAA-FM 101.100  40 35 00   75 25 00  50.0000   800 12  3  45  1 LIC     0
 WIGN    104.300  40 10 00   75 00 00  10.0000   300  0  0   0  2 APP     0
 WCCC     98.500  40 20 00   75 10 00  25.0000  1200 57  0   0  0 CP      0
 $$$$
  1  0 40  2  3  2  3000  45  1000 500  1  0
 ILX TEST CASE   Lakeside Municipal        01/02/24 30
 ILS Localizer (default)
 ILS U.S. Standard
