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
