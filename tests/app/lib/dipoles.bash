# Projects for the field commands' tests, written into the current folder:
# a half-wave dipole in free space at 299.8 MHz (wavelength 1 m) fed at its
# centre (dipole.qlk), the same without a source (nosource.qlk), and with a
# -200 ohm load at the feed that leaves no input power (negative.qlk).
qlk() {  # qlk FILE EXTRA-CARDS
  printf 'CM\r\nCE\r\nUNITS Meters\r\nHeight  0.000\r\nFree Space\r\nF  299.8\r\nGW  1   20   0 0 -0.25 0 0 0.25  0.002\r\n%bCoax  50\r\n' "$2" > "$1"
}
qlk dipole.qlk 'S   1 10    1    0\r\n'
qlk nosource.qlk ''
qlk negative.qlk 'S   1 10    1    0\r\nL   1 10 -200 0\r\n'
