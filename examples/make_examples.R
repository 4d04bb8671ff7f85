# Writes the example data files of this folder from data sets of R's "datasets" package, in the
# host's data file format: a header line of name;type;width;decimals fields separated by one
# blank, then fixed-width records (column 1 takes width + 1 characters, every further column a
# separator blank and width characters), values right-aligned, a missing value (NA) as blanks,
# lines ending in CR LF.
#
# Run from this folder:  Rscript make_examples.R

write_data_file <- function(path, columns) {
  # columns: list of list(name, values, width, decimals)
  header <- paste(vapply(columns, function(c) sprintf("%s;N;%d;%d", c$name, c$width, c$decimals), ""),
                  collapse = " ")
  n <- length(columns[[1]]$values)
  cells <- lapply(seq_along(columns), function(i) {
    c <- columns[[i]]
    width <- if (i == 1) c$width + 1 else c$width
    text <- ifelse(is.na(c$values), strrep(" ", width),
                   formatC(c$values, width = width, format = "f", digits = c$decimals))
    stopifnot(all(nchar(text) == width))
    if (i == 1) text else paste0(" ", text)
  })
  records <- do.call(paste0, cells)
  con <- file(path, "wb")
  writeBin(charToRaw(paste0(paste(c(header, records), collapse = "\r\n"), "\r\n")), con)
  close(con)
}

col <- function(name, values, width, decimals = 0) list(name = name, values = values, width = width,
                                                         decimals = decimals)

# Two groups: ToothGrowth (C. I. Bliss 1952; Crampton 1947), tooth length of 60 guinea pigs by
# supplement (1 = orange juice "OJ", 2 = ascorbic acid "VC") and dose; dose10 is the dose in
# tenths of a milligram, usable as a group number (5, 10, 20).
tg <- datasets::ToothGrowth
write_data_file("toothgrowth.dat", list(
  col("len", tg$len, 5, 1),
  col("supp", as.integer(tg$supp), 1),
  col("dose", tg$dose, 3, 1),
  col("dose10", round(tg$dose * 10), 2)))

# Five groups with ties and missing values: airquality (New York, May to September 1973),
# Month 5 to 9 as groups.
aq <- datasets::airquality
write_data_file("airquality.dat", list(
  col("Ozone", aq$Ozone, 3),
  col("Solar.R", aq$Solar.R, 3),
  col("Wind", aq$Wind, 4, 1),
  col("Temp", aq$Temp, 3),
  col("Month", aq$Month, 2),
  col("Day", aq$Day, 2)))

# Three groups: PlantGrowth (Dobson 1983), dried plant weight by group
# (1 = control "ctrl", 2 = treatment 1 "trt1", 3 = treatment 2 "trt2").
pg <- datasets::PlantGrowth
write_data_file("plantgrowth.dat", list(
  col("weight", pg$weight, 5, 2),
  col("group", as.integer(pg$group), 1)))

# Ordered scores in two groups: mtcars (Henderson & Velleman 1981, from Motor Trend 1974), 32
# cars; trans is the transmission as a group number (1 = automatic, 2 = manual; R's am + 1).
mt <- datasets::mtcars
write_data_file("mtcars.dat", list(
  col("mpg", mt$mpg, 4, 1),
  col("cyl", mt$cyl, 1),
  col("gear", mt$gear, 1),
  col("carb", mt$carb, 1),
  col("trans", mt$am + 1, 1)))

# Counts in six groups: InsectSprays (Beall 1942), insects counted on 72 plots treated with
# sprays A to F (spray 1 to 6).
is <- datasets::InsectSprays
write_data_file("insectsprays.dat", list(
  col("count", is$count, 2),
  col("spray", as.integer(is$spray), 1)))
# Two large groups: ChickWeight (Crowder and Hand 1990), body weight of 50 chicks on four diets,
# measured every few days; Chick is the chick's number, Diet 1 to 4 (220, 120, 120 and 118
# measurements).
cw <- datasets::ChickWeight
write_data_file("chickweight.dat", list(
  col("weight", cw$weight, 3),
  col("Time", cw$Time, 2),
  col("Chick", as.integer(as.character(cw$Chick)), 2),
  col("Diet", as.integer(as.character(cw$Diet)), 1)))
# Two-period cross-over (AB/BA): formoterol ("for") against salbutamol ("sal") in 13 children
# with asthma, peak expiratory flow in l/min, 7 in the sequence for/sal (Sequenz 1) and 6 in
# sal/for (Sequenz 2); PEF1 is period 1, PEF2 period 2.  Not in R: typed in from Senn, S. (2002),
# Cross-over Trials in Clinical Research, 2nd ed., Wiley, ch. 3 (originally Graff-Lonnevig, V.,
# Browaldh, L. (1990), Clinical and Experimental Allergy 20, 429-432).
write_data_file("asthma.dat", list(
  col("Sequenz", rep(1:2, c(7, 6)), 1),
  col("PEF1", c(310, 310, 370, 410, 250, 380, 330, 370, 310, 380, 290, 260, 90), 3),
  col("PEF2", c(270, 260, 300, 390, 210, 350, 365, 385, 400, 410, 320, 340, 220), 3)))
# Blocks: rounding first base (Hollander, M. and Wolfe, D. A. (1973), Nonparametric Statistical
# Methods, Wiley, p. 140ff.; the example of R's friedman.test): average times of 22 players for
# three methods (round out, narrow angle, wide angle).
RoundingTimes <- matrix(c(5.40, 5.50, 5.55, 5.85, 5.70, 5.75, 5.20, 5.60, 5.50, 5.55, 5.50, 5.40,
                          5.90, 5.85, 5.70, 5.45, 5.55, 5.60, 5.40, 5.40, 5.35, 5.45, 5.50, 5.35,
                          5.25, 5.15, 5.00, 5.85, 5.80, 5.70, 5.25, 5.20, 5.10, 5.65, 5.55, 5.45,
                          5.60, 5.35, 5.45, 5.05, 5.00, 4.95, 5.50, 5.50, 5.40, 5.45, 5.55, 5.50,
                          5.55, 5.55, 5.35, 5.45, 5.50, 5.55, 5.50, 5.45, 5.25, 5.65, 5.60, 5.40,
                          5.70, 5.65, 5.55, 6.30, 6.30, 6.25), nrow = 22, byrow = TRUE)
write_data_file("roundingtimes.dat", list(
  col("RoundOut", RoundingTimes[, 1], 4, 2),
  col("NarrowAngle", RoundingTimes[, 2], 4, 2),
  col("WideAngle", RoundingTimes[, 3], 4, 2)))

# Blocks with seven columns: attitude (Chatterjee, S. and Price, B. (1977), Regression Analysis by
# Example, Wiley), percentages of favourable answers in 30 departments of a financial
# organisation to seven questions.
at <- datasets::attitude
write_data_file("attitude.dat", lapply(names(at), function(n) col(n, at[[n]], 2)))
# Paired values: R's sleep data (Cushny & Peebles 1905, as analysed by Student 1908), the extra
# hours of sleep of ten patients under drug 1 and under drug 2, one record per patient.
sl <- datasets::sleep
write_data_file("sleep.dat", list(
  col("ID", as.integer(sl$ID[sl$group == 1]), 2),
  col("drug1", sl$extra[sl$group == 1], 4, 1),
  col("drug2", sl$extra[sl$group == 2], 4, 1)))

# Paired values with ties, zeros and missing entries: the student survey of MASS (Venables &
# Ripley, Modern Applied Statistics with S), span of the writing and the non-writing hand in cm;
# Sex (1 = female, 2 = male) and W.Hnd (1 = left, 2 = right) as group variables.  Needs the
# recommended package MASS (Debian r-cran-mass).
sv <- MASS::survey
write_data_file("survey.dat", list(
  col("Sex", as.integer(sv$Sex), 1),
  col("Wr.Hnd", sv$Wr.Hnd, 4, 1),
  col("NW.Hnd", sv$NW.Hnd, 4, 1),
  col("W.Hnd", as.integer(sv$W.Hnd), 1)))

# Tables as R and spreadsheets write them, for veltrum's CSV input.  ToothGrowth as write.csv
# writes it: a header row, the supplement as the text labels VC and OJ (VC first, as in R's rows).
write.csv(datasets::ToothGrowth, "toothgrowth.csv", row.names = FALSE)
# PlantGrowth as a German spreadsheet writes it (write.csv2: ";" between the cells, decimal
# commas), with German names and group labels.
pflanzen <- data.frame(Gewicht = pg$weight,
                       Gruppe = c(ctrl = "Kontrolle", trt1 = "Behandlung 1", trt2 = "Behandlung 2")[
                         as.character(pg$group)])
write.csv2(pflanzen, "pflanzen.csv", row.names = FALSE, fileEncoding = "UTF-8")
