# What veltrum's reports show, in R, for the benchmark cases of bench/cases.tsv.
read_groups <- function(file) {
  d <- read.table(file, skip = 1, col.names = c("x", "g"))
  d$g <- factor(d$g, levels = unique(d$g))
  d
}
levels4 <- c(0.90, 0.95, 0.98, 0.99)
summary_table <- function(d) {
  r <- rank(d$x)
  data.frame(median = tapply(d$x, d$g, median), min = tapply(d$x, d$g, min), max = tapply(d$x, d$g, max),
             n = tapply(d$x, d$g, length), R = tapply(r, d$g, sum))
}
# U with its p (exact where asked), the Mann-Whitney estimator and its intervals, the
# Hodges-Lehmann estimate with Moses intervals.
u_test <- function(d, exact, shift = TRUE) {
  x <- d$x[d$g == levels(d$g)[1]]; y <- d$x[d$g == levels(d$g)[2]]
  w <- wilcox.test(x, y, exact = exact, correct = FALSE)
  p <- unname(w$statistic) / (length(x) * length(y))
  s <- sqrt(p * (1 - p) / min(length(x), length(y)))
  ci <- sapply(levels4, function(l) p + c(-1, 1) * qnorm(1 - (1 - l) / 2) * s)
  if (shift) for (l in levels4) w <- wilcox.test(x, y, exact = exact, correct = FALSE, conf.int = TRUE, conf.level = l)
  list(w, ci, summary_table(d))
}
# Kruskal-Wallis with Dunn's tests (each pair's own ties), Holm's correction, Nemenyi.
k_test <- function(d) {
  kt <- kruskal.test(x ~ g, data = d)
  groups <- split(d$x, d$g); k <- length(groups); n <- lengths(groups); N <- sum(n)
  r <- rank(d$x); mr <- tapply(r, d$g, mean)
  rows <- NULL
  for (i in 1:(k - 1)) for (j in (i + 1):k) {
    t <- table(c(groups[[i]], groups[[j]])); Tij <- sum(t^3 - t)
    V <- (1 / n[i] + 1 / n[j]) * (N * (N + 1) / 12 - Tij / (12 * (N - 1)))
    Z <- (mr[i] - mr[j]) / sqrt(V)
    chi <- (mr[i] - mr[j])^2 / ((N * (N + 1) / 12) * (n[i] + n[j]) / (n[i] * n[j]))
    rows <- rbind(rows, c(i, j, abs(Z), 2 * pnorm(abs(Z), lower.tail = FALSE), chi, pchisq(chi, k - 1, lower.tail = FALSE)))
  }
  rows <- rows[order(-rows[, 3]), ]; M <- nrow(rows)
  pstar <- pmin(1, rows[, 4] * (M - 1:M + 1))
  list(kt, summary_table(d), cbind(rows, pstar, cummax(pstar)))
}
fit_test <- function(f, p) {
  t <- chisq.test(f, p = p)
  list(t, (f - t$expected)^2 / t$expected, pchisq((f - t$expected)^2 / t$expected, 1, lower.tail = FALSE))
}
binomial <- function(n, k, theta) {
  list(pbinom(k, n, theta), pbinom(k - 1, n, theta, lower.tail = FALSE),
       lapply(levels4, function(l) binom.test(k, n, theta, conf.level = l)$conf.int))
}
read_data <- function(file) read.table(file, skip = 1)
two_groups <- function(d) list(x = d$x[d$g == levels(d$g)[1]], y = d$x[d$g == levels(d$g)[2]])
# H: the continuity-corrected chi-square and the exact binomial test with 1/2.
two_frequencies <- function(n1, n2) list(chisq.test(c(n1, n2)), binom.test(n1, n1 + n2))
# W: the signed-rank test with the Hodges-Lehmann estimate and its intervals at the four levels.
pairs_test <- function(d) lapply(levels4, function(l)
  wilcox.test(d[[1]], d[[2]], paired = TRUE, conf.int = TRUE, conf.level = l, correct = FALSE))
# V: the sign test.
sign_test <- function(d) { e <- d[[1]] - d[[2]]; binom.test(sum(e > 0), sum(e != 0)) }
# F: Friedman's chi-square, Rijkoort-Wise's F and the Schaich-Hamerle comparisons of all pairs of
# columns.
friedman_test <- function(m) {
  m <- as.matrix(m); r <- nrow(m); k <- ncol(m)
  ft <- friedman.test(m); chi <- unname(ft$statistic)
  f <- (r - 1) * chi / (r * (k - 1) - chi)
  R <- colSums(t(apply(m, 1, rank))); pairs <- combn(k, 2)
  d <- (R[pairs[1, ]] - R[pairs[2, ]]) / r; x <- 6 * r * d^2 / (k * (k + 1))
  list(ft, pf(f, k - 1, (k - 1) * (r - 1), lower.tail = FALSE), cbind(t(pairs), d, x, pchisq(x, k - 1, lower.tail = FALSE)))
}
# O: Cochran's Q.
cochran_q <- function(m) {
  m <- as.matrix(m); k <- ncol(m); G <- colSums(m); L <- rowSums(m)
  q <- (k - 1) * (k * sum(G^2) - sum(G)^2) / (k * sum(L) - sum(L^2))
  list(q, pchisq(q, k - 1, lower.tail = FALSE))
}
# E: counts above and below the pooled median, Fisher's exact test and the corrected chi-square.
median_test <- function(d) {
  tab <- table(d$g, d$x > median(d$x))
  list(tab, fisher.test(tab, alternative = "less"), fisher.test(tab, alternative = "greater"), chisq.test(tab, correct = TRUE))
}
# S: the two-sample Kolmogorov-Smirnov test.
ks_test <- function(d) { s <- two_groups(d); suppressWarnings(ks.test(s$x, s$y)) }
# N and T: the count table of the scores and the mean-score chi-square, (N - 1) r^2.
mean_score_test <- function(d) {
  chi <- (nrow(d) - 1) * summary(lm(x ~ g, data = d))$r.squared
  list(table(d$g, d$x), chi, pchisq(chi, nlevels(d$g) - 1, lower.tail = FALSE))
}
# C: the U tests of the sequences on the sums, the differences and period 1.
cross_over <- function(d) {
  g <- d[[3]]
  lapply(list(d[[1]] + d[[2]], d[[1]] - d[[2]], d[[1]]), function(v)
    list(wilcox.test(v[g == 1], v[g == 2], correct = FALSE), wilcox.test(v[g == 1], v[g == 2], exact = FALSE, correct = FALSE)))
}
