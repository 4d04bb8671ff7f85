# The R side of tools/validate/validate.py: all cases of one letter in one process.
#   Rscript reference.R LETTER MANIFEST OUT
# MANIFEST: one case a line, "id<TAB>data file or -<TAB>key=value|key=value".  OUT: one value a
# line, "id<TAB>name<TAB>value", under the names the report parser of letters.py gives.  A name
# NAME@std is the value of the common R function where the module's definition differs from it by
# design (compared for information); "_noreport" says the module is to refuse the case.
suppressMessages(library(coin))
# x as a single-precision value.
f32 <- function(x) { b <- writeBin(as.double(x), raw(), size = 4); readBin(b, "double", size = 4, n = length(x)) }
args <- commandArgs(TRUE)
letter <- args[1]
manifest <- read.delim(args[2], header = FALSE, colClasses = "character", col.names = c("id", "file", "fields"))
out <- file(args[3], "w")
case_id <- NULL
emit <- function(name, value) {
  if (is.numeric(value)) value <- sprintf("%.15g", value)
  writeLines(paste(case_id, name, value, sep = "\t"), out)
}
fields <- function(text) {
  kv <- strsplit(strsplit(text, "|", fixed = TRUE)[[1]], "=", fixed = TRUE)
  setNames(lapply(kv, `[`, 2), sapply(kv, `[`, 1))
}
num_list <- function(text) as.numeric(strsplit(text, ",", fixed = TRUE)[[1]])
# Data values as the module stores them, in single precision (9876.3 is 9876.2998046875).
read_data <- function(file) { d <- read.table(file, skip = 1); d[] <- lapply(d, f32); d }
read_groups <- function(file) {
  d <- read.table(file, skip = 1, col.names = c("x", "g")); d$x <- f32(d$x)
  d$g <- factor(d$g, levels = unique(d$g))
  d
}
levels4 <- c(0.90, 0.95, 0.98, 0.99)
lab4 <- function(p) sprintf("%.4f", p)

summary_rows <- function(values, groups, labels) {
  r <- rank(values)
  for (i in seq_along(labels)) {
    v <- values[groups == i]; g <- labels[i]
    emit(paste0("median.", g), median(v)); emit(paste0("min.", g), min(v)); emit(paste0("max.", g), max(v))
    emit(paste0("n.", g), length(v)); emit(paste0("R.", g), sum(r[groups == i]))
    emit(paste0("Rn.", g), sum(r[groups == i]) / length(v))
  }
}

# Exact U p of the untied distribution at the integer u of the smaller sample (sizes m <= n):
# the tail through u, doubled, at most 1.
exact_u <- function(u, m, n) {
  p1 <- pwilcox(u, m, n)
  if (p1 > 0.5) p1 <- 1 - pwilcox(u - 1, m, n)
  if (p1 > 0.5) 1 else 2 * p1
}
# Whether the untied distribution of the smaller sample fits into 100,000 counts.
exact_fits <- function(m, N) 1 + sum(1 + (0:m) * (N - (0:m))) <= 100000
coin_exact <- function(x, y) {
  g <- factor(rep(1:2, c(length(x), length(y))))
  as.numeric(pvalue(coin::wilcox_test(c(x, y) ~ g, distribution = "exact")))
}

# ---- K ---------------------------------------------------------------------------------------
do_K <- function(f, d) {
  k <- nlevels(d$g); labels <- levels(d$g); gi <- as.integer(d$g)
  if (k == 2) { emit("_branch", "2 groups (report of U)"); return(do_U_values(d$x[gi == 1], d$x[gi == 2], labels)) }
  emit("_branch", if (k > 10) "k > 10" else "k <= 10")
  kt <- kruskal.test(x ~ g, data = d)
  emit("H", unname(kt$statistic)); emit("df", k - 1); emit("p", kt$p.value)
  summary_rows(d$x, gi, labels)
  n <- tabulate(gi, k); N <- sum(n); r <- rank(d$x); mr <- tapply(r, gi, mean)
  # Dunn's Z with the ties of each pair, Holm's step-down p, Nemenyi's chi-square.
  tied <- table(d$x, gi)
  pairs <- t(combn(k, 2)); M <- nrow(pairs)
  Z <- numeric(M); chi <- numeric(M)
  for (m in seq_len(M)) {
    i <- pairs[m, 1]; j <- pairs[m, 2]
    t <- tied[, i] + tied[, j]; Tij <- sum(t^3 - t)
    V <- (1 / n[i] + 1 / n[j]) * (N * (N + 1) / 12 - Tij / (12 * (N - 1)))
    Z[m] <- abs(mr[i] - mr[j]) / sqrt(V)
    chi[m] <- (mr[i] - mr[j])^2 / ((N * (N + 1) / 12) * (n[i] + n[j]) / (n[i] * n[j]))
  }
  # The pairwise p comes from the 13-term series for the normal distribution function (its error is
  # up to 1.4e-10, which Holm's factor, up to 4950 with 100 groups, can lift to the sixth decimal);
  # pnorm's value is the R function's.
  n13 <- 0:12
  phi <- function(z) if (z >= 7) 1 else 0.5 + sum(exp(-(n13 + 0.5)^2 / 9) * sin((n13 + 0.5) * sqrt(2) * z / 3) / (n13 + 0.5)) / pi
  p <- 2 * (1 - sapply(Z, phi))
  p_std <- 2 * pnorm(Z, lower.tail = FALSE)
  for (m in seq_len(M)) {
    name <- paste0(labels[pairs[m, 1]], ".", labels[pairs[m, 2]])
    emit(paste0("Z.", name), min(Z[m], 99.9999)); emit(paste0("p.", name), p[m]); emit(paste0("p.", name, "@std"), p_std[m])
    emit(paste0("chi.", name), chi[m]); emit(paste0("pnem.", name), pchisq(chi[m], k - 1, lower.tail = FALSE))
  }
  o <- order(-Z)
  pstar <- pmin(1, p[o] * (M - seq_len(M) + 1)); pstar_std <- pmin(1, p_std[o] * (M - seq_len(M) + 1))
  for (m in seq_len(M)) {
    emit(paste0("pstar.", m), pstar[m]); emit(paste0("maxpstar.", m), max(pstar[1:m]))
    emit(paste0("pstar.", m, "@std"), pstar_std[m]); emit(paste0("maxpstar.", m, "@std"), max(pstar_std[1:m]))
  }
}

# ---- U ---------------------------------------------------------------------------------------
do_U <- function(f, d) {
  g1 <- f$g1; g2 <- f$g2
  do_U_values(d$x[d$g == g1], d$x[d$g == g2], c(g1, g2))
}
do_U_values <- function(x, y, labels) {
  n1 <- length(x); n2 <- length(y); N <- n1 + n2; v <- c(x, y)
  r <- rank(v); R1 <- sum(r[1:n1]); R2 <- sum(r[-(1:n1)])
  U1 <- n1 * n2 + n1 * (n1 + 1) / 2 - R1; U2 <- n1 * n2 + n2 * (n2 + 1) / 2 - R2; U <- min(U1, U2)
  ties <- anyDuplicated(v) > 0
  emit("U", U)
  w <- suppressWarnings(wilcox.test(x, y, exact = FALSE, correct = FALSE))
  emit("Z", qnorm(w$p.value / 2, lower.tail = FALSE)); emit("p_approx", w$p.value)
  m <- min(n1, n2)
  branch <- c(if (ties) "ties" else "no ties")
  if (!exact_fits(m, N)) {
    branch <- c(branch, "normal only")
    emit("p_u_approx", w$p.value)
  } else {
    u <- if (n1 < n2) U1 else if (n2 < n1) U2 else U
    other <- if (n1 < n2) U2 else if (n2 < n1) U1 else Inf
    if (n1 == n2 || other > u) { uc <- floor(u + 0.5); ux <- uc - 1 } else { uc <- floor(u); ux <- uc + 1 }
    branch <- c(branch, if (U == floor(U)) "exact" else "exact conservative and interpolated")
    if (U == floor(U)) {
      if (!ties) emit("p_exact", wilcox.test(x, y, exact = TRUE)$p.value)
      else { emit("p_exact", exact_u(uc, m, N - m)); emit("p_exact@std", coin_exact(x, y)) }
    } else {
      std <- coin_exact(x, y)
      emit("p_cons", exact_u(uc, m, N - m)); emit("p_cons@std", std); emit("u_cons", floor(U + 0.5))
      if (ux >= 0) { emit("p_interp", (exact_u(uc, m, N - m) + exact_u(ux, m, N - m)) / 2); emit("p_interp@std", std) }
    }
  }
  # Mann-Whitney estimator of P(X1 < X2) and its asymptotic intervals.
  p <- U1 / (n1 * n2); emit("mw", p)
  if (n1 > 150 && n2 > 150) {
    emit("mw_note", "ja"); branch <- c(branch, "simple MW variance")
    s2 <- p * (1 - p) / min(n1, n2)
  } else {
    h <- outer(x, y, function(a, b) (b < a) + 0.5 * (b == a))
    q1 <- sum((colSums(h)^2 - colSums(h^2)) / 2) / (n2 * n1 * (n1 - 1) / 2)
    q2 <- sum((rowSums(h)^2 - rowSums(h^2)) / 2) / (n1 * n2 * (n2 - 1) / 2)
    pi <- 1 - p
    s2 <- (pi - (n1 + n2 - 1) * pi^2 + (n1 - 1) * q1 + (n2 - 1) * q2) / (n1 * n2)
  }
  if (s2 < 0) {
    emit("mw_ci", "nicht berechenbar"); branch <- c(branch, "no MW intervals")
  } else for (j in 1:4) {
    z <- qnorm(1 - (1 - f32(levels4[j])) / 2)
    emit(paste0("level.mw.", j), levels4[j])
    emit(paste0("mw_lo.", lab4(levels4[j])), max(0, p - z * sqrt(s2)))
    emit(paste0("mw_hi.", lab4(levels4[j])), min(1, p + z * sqrt(s2)))
  }
  # Hodges-Lehmann estimate of X1 - X2 and Moses intervals (h from the normal approximation).
  M <- n1 * n2
  if (M > 250000) {
    emit("hl_skipped", "ja"); branch <- c(branch, "no HL")
  } else {
    dd <- sort(outer(x, y, "-"))
    emit("hl", median(dd))
    j <- 0
    for (P in levels4) {
      z <- qnorm(1 - (1 - f32(P)) / 2)
      h <- floor(M / 2 - z * sqrt(M * (N + 1) / 12) + 0.5)
      if (h > 0) {
        j <- j + 1
        emit(paste0("level.moses.", j), P)
        emit(paste0("moses_lo.", lab4(P)), dd[h]); emit(paste0("moses_hi.", lab4(P)), dd[M + 1 - h])
        if (M <= 20000) {
          ci <- suppressWarnings(wilcox.test(x, y, conf.int = TRUE, conf.level = P, correct = FALSE))$conf.int
          emit(paste0("moses_lo.", lab4(P), "@std"), ci[1]); emit(paste0("moses_hi.", lab4(P), "@std"), ci[2])
        }
      }
    }
    if (j == 0) { emit("moses", "keine"); branch <- c(branch, "no Moses interval") }
    if (n1 < 10 && n2 < 10) emit("moses_note", "ja")
  }
  summary_rows(v, rep(1:2, c(n1, n2)), labels)
  emit("_branch", paste(branch, collapse = ";"))
}

# ---- N and T ---------------------------------------------------------------------------------
do_scores <- function(f, d) {
  s <- sort(unique(d$x)); k <- nlevels(d$g)
  for (j in seq_along(s)) emit(paste0("score.", j), s[j])
  tab <- table(d$g, factor(d$x, levels = s))
  for (i in 1:k) {
    for (j in seq_along(s)) emit(paste0("f.", i, ".", j), tab[i, j])
    emit(paste0("rowtotal.", i), sum(tab[i, ]))
  }
  for (j in seq_along(s)) emit(paste0("f.", k + 1, ".", j), sum(tab[, j]))
  emit(paste0("rowtotal.", k + 1), nrow(d))
  if (length(s) < 2) {
    # One score: A = B = 0 and the statistic is undefined; the module reports 0 with p = 1.
    emit("chi", 0); emit("df", k - 1); emit("p", 1); return()
  }
  # The mean-score statistic: coin's quadratic form of the identity scores given the margins.
  it <- independence_test(x ~ g, data = d, teststat = "quadratic")
  chi <- as.numeric(statistic(it))
  emit("chi", chi); emit("df", k - 1); emit("p", pchisq(chi, k - 1, lower.tail = FALSE))
}

# ---- E ---------------------------------------------------------------------------------------
do_E <- function(f, d) {
  gi <- as.integer(d$g); M <- median(d$x); N <- nrow(d)
  below <- c(sum(d$x[gi == 1] < M), sum(d$x[gi == 2] < M)); n <- tabulate(gi, 2); above <- n - below
  emit("median", M)
  for (g in 1:2) { emit(paste0("below.", g), below[g]); emit(paste0("above.", g), above[g]); emit(paste0("n.", g), n[g]) }
  emit("below.total", sum(below)); emit("above.total", sum(above)); emit("N", N)
  cols <- c(sum(below), sum(above))
  expected <- outer(n, cols) / N
  if (N < 20 || any(expected < 5)) emit("warning", "ja")
  tab <- cbind(below, above)
  emit("_branch", paste(c(if (N < 20 || any(expected < 5)) "warning", if (any(cols == 0)) "no chi-square"), collapse = ";"))
  if (any(cols == 0)) emit("chi_na", "ja")
  if (all(cols > 0)) {
    chi <- N * (abs(below[1] * above[2] - below[2] * above[1]) - N / 2)^2 / prod(cols, n)
    emit("chi", chi); emit("p_chi", pchisq(chi, 1, lower.tail = FALSE))
    emit("chi@std", unname(suppressWarnings(chisq.test(tab))$statistic))
  }
  emit("fisher1", min(fisher.test(tab, alternative = "less")$p.value, fisher.test(tab, alternative = "greater")$p.value))
  # Two-sided: the tables with the same margins at least as far from independence, the distance
  # being N * |difference of the row proportions of column 1| rounded (integers exactly).
  r1 <- n[1]; r2 <- n[2]; c1 <- cols[1]
  dist <- function(a) floor((2 * N * abs(a * r2 - (c1 - a) * r1) + r1 * r2) / (2 * r1 * r2))
  support <- max(0, c1 - r2):min(r1, c1)
  emit("fisher2", sum(dhyper(support, r1, r2, c1)[dist(support) >= dist(below[1])]))
  emit("fisher2@std", fisher.test(tab)$p.value)
}

# ---- S ---------------------------------------------------------------------------------------
pSmirnov <- function(D, m, n) .Call(stats:::C_pSmirnov2x, D, m, n)        # P(D < d), exact two-sample
pKolmogorov <- function(D, n) .Call(stats:::C_pKolmogorov2x, D, n)        # P(D < d), exact one-sample
class_of <- function(p, levels) {                                       # the smallest level p reaches
  hit <- levels[p <= levels]
  if (length(hit) == 0) NA else min(hit)
}
class_text <- function(level, above) if (is.na(level)) sprintf("( p > %.4f", above) else sprintf("( p < %.4f", level)
do_S <- function(f, d) {
  x <- d$x[as.integer(d$g) == 1]; y <- d$x[as.integer(d$g) == 2]; n1 <- length(x); n2 <- length(y)
  lo <- min(x, y); hi <- max(x, y)
  if (lo == hi) { emit("D", 0) } else {
    w <- (hi - lo) / 998
    h1 <- tabulate(floor((x - lo) / w) + 1, 1000); h2 <- tabulate(floor((y - lo) / w) + 1, 1000)
    D <- max(abs(cumsum(h1) / n1 - cumsum(h2) / n2))
    emit("D", D)
  }
  emit("D@std", unname(suppressWarnings(ks.test(x, y))$statistic))
  e <- floor(n1 * n2 / (n1 + n2))
  if (n1 <= 25 && n2 <= 25) {
    lev <- class_of(1 - pSmirnov(D, n1, n2), c(0.10, 0.05, 0.01)); text <- class_text(lev, 0.1); label <- "exakter Test"
  } else if (e <= 35) {
    # The one-sample Kolmogorov table at the effective size: critical values to three decimals.
    crit <- sapply(c(0.10, 0.05, 0.01), function(a)
      round(uniroot(function(t) 1 - pKolmogorov(t, e) - a, c(1e-9, 1), tol = 1e-12)$root, 3))
    lev <- c(NA, 0.10, 0.05, 0.01)[1 + sum(D >= crit - 1e-9)]
    text <- class_text(lev, 0.1); label <- "exakter Test"
  } else {
    K <- c(1.07, 1.14, 1.22, 1.36, 1.63, 1.95); levels <- c(0.20, 0.15, 0.10, 0.05, 0.01, 0.001)
    ok <- K * sqrt((n1 + n2) / (n1 * n2)) <= D
    lev <- if (any(ok)) min(levels[ok]) else NA
    text <- class_text(lev, 0.2); label <- "approximativ"
  }
  emit("class", text); emit("label", label)
  emit("_branch", if (n1 <= 25 && n2 <= 25) "two-sample tables" else if (e <= 35) "one-sample table at e" else "asymptotic")
  # R's own p of the same D: the exact two-sample distribution where R computes it, else asymptotic.
  pstd <- if (n1 * n2 < 10000) 1 - pSmirnov(D, n1, n2) else 1 - .Call(stats:::C_pKS2, sqrt(n1 * n2 / (n1 + n2)) * D, 1e-6)
  levels <- if (e > 35 && !(n1 <= 25 && n2 <= 25)) c(0.20, 0.15, 0.10, 0.05, 0.01, 0.001) else c(0.10, 0.05, 0.01)
  emit("class@std", class_text(class_of(pstd, levels), if (e > 35 && !(n1 <= 25 && n2 <= 25)) 0.2 else 0.1))
}

# ---- W and V ---------------------------------------------------------------------------------
do_W <- function(f, d) {
  dd <- d[[1]] - d[[2]]; n <- length(dd); nz <- dd[dd != 0]; n1 <- length(nz)
  if (n1 < 2) return(emit("_noreport", "ja"))
  emit("n", n); emit("n1", n1)
  r <- rank(abs(nz)); Rp <- sum(r[nz > 0]); Rm <- sum(r[nz < 0]); R <- if (Rp <= Rm) Rp else Rm
  emit("R", R)
  ties <- anyDuplicated(abs(nz)) > 0
  Z <- abs(R - n1 * (n1 + 1) / 4) / sqrt(n1 * (n1 + 1) * (2 * n1 + 1) / 24)
  pa <- 2 * pnorm(Z, lower.tail = FALSE)
  emit("Z", Z); emit("p_approx", pa)
  if (ties) emit("Z@std", qnorm(suppressWarnings(wilcox.test(d[[1]], d[[2]], paired = TRUE, exact = FALSE,
                                                                  correct = FALSE))$p.value / 2, lower.tail = FALSE))
  emit("_branch", paste(c(if (ties) "ties", if (n1 <= 180) "exact" else "normal only", if (n > 500) "no HL",
                         if (n <= 20) "Tukey table" else if (n <= 500) "Tukey normal k"), collapse = ";"))
  if (n1 <= 180) {
    T <- floor(R + 0.5); p1 <- psignrank(T, n1)
    emit("p_exact", if (p1 > 0.5) 1 else 2 * p1)
    if (ties && n1 <= 60)
      emit("p_exact@std", as.numeric(pvalue(wilcoxsign_test(a ~ b, data = data.frame(a = nz, b = 0), distribution = "exact"))))
  } else emit("p_approx_R", pa)
  if (n > 500) return(emit("hl_skipped", "ja"))
  W <- sort(outer(dd, dd, "+")[upper.tri(diag(n), diag = TRUE)] / 2); M <- length(W)
  emit("hl", median(W))
  if (n <= 100) emit("hl@std", unname(suppressWarnings(wilcox.test(dd, conf.int = TRUE))$estimate))
  any_interval <- FALSE
  for (P in c(0.90, 0.95, 0.99)) {
    a <- (1 - P) / 2
    k <- if (n <= 20) { ok <- which(psignrank(0:M, n) <= a) - 1; if (length(ok)) max(ok) else -1 }
         else floor(n * (n + 1) / 4 - qnorm(1 - (1 - f32(P)) / 2) * sqrt(n * (n + 1) * (2 * n + 1) / 24) + 0.5)
    if (k > -1) {
      any_interval <- TRUE
      emit(paste0("tukey_lo.", lab4(P)), W[k + 1]); emit(paste0("tukey_hi.", lab4(P)), W[M - k])
      if (n <= 100) {
        ci <- suppressWarnings(wilcox.test(dd, conf.int = TRUE, conf.level = P))$conf.int
        emit(paste0("tukey_lo.", lab4(P), "@std"), ci[1]); emit(paste0("tukey_hi.", lab4(P), "@std"), ci[2])
      }
    }
  }
  if (!any_interval) emit("tukey", "keine")
}
do_V <- function(f, d) {
  dd <- d[[1]] - d[[2]]
  minus <- sum(dd < 0); plus <- sum(dd > 0); zero <- sum(dd == 0); n <- minus + plus
  emit("minus", minus); emit("zero", zero); emit("plus", plus)
  k <- if (plus > minus) minus else plus
  emit("p1", pbinom(k, n, 0.5))
  emit("p2", if (n > 0) binom.test(k, n)$p.value else 1)
}

# ---- F and O ---------------------------------------------------------------------------------
do_F <- function(f, d) {
  m <- as.matrix(d); r <- nrow(m); k <- ncol(m)
  ft <- friedman.test(m); chi <- unname(ft$statistic)
  emit("chi", chi); emit("df", k - 1); emit("p", ft$p.value)
  F <- if (abs((k - 1) * r - chi) < 1e-8) 9999 else (r - 1) * chi / ((k - 1) * r - chi)
  emit("F", F); emit("df1", k - 1); emit("df2", (k - 1) * (r - 1))
  emit("pF", pf(F, k - 1, (k - 1) * (r - 1), lower.tail = FALSE))
  if (r >= 3 && ((k == 3 && r <= 15) || (k == 4 && r <= 8) || (k == 5 && r <= 4) || (k == 6 && r == 3)))
    emit("exact_note", "ja")
  R <- colSums(t(apply(m, 1, rank)))
  sh <- k > 10 || r > 25
  emit("_branch", if (sh) "Schaich-Hamerle" else "Wilcoxon-Wilcox")
  crit <- function(a) qtukey(1 - a, k, Inf) * sqrt(r * k * (k + 1) / 12)
  for (i in 1:(k - 1)) for (j in (i + 1):k) {
    name <- paste0(i, ".", j)
    if (sh) {
      D <- (R[i] - R[j]) / r; x <- 6 * r * D^2 / (k * (k + 1))
      emit(paste0("D.", name), D); emit(paste0("p.", name), pchisq(x, k - 1, lower.tail = FALSE))
    } else {
      D <- abs(R[j] - R[i]); emit(paste0("D.", name), D)
      cls <- function(d05, d01) if (D < d05) "( p > 0.05 )" else if (D < d01) "( p < 0.05 )" else "( p < 0.01 )"
      emit(paste0("class.", name), cls(round(crit(0.05), 1), round(crit(0.01), 1)))
      emit(paste0("class.", name, "@std"), cls(crit(0.05), crit(0.01)))
    }
  }
}
do_O <- function(f, d) {
  m <- do.call(rbind, lapply(strsplit(strsplit(f$table, ";", fixed = TRUE)[[1]], ","), as.numeric))
  k <- ncol(m); G <- colSums(m); L <- rowSums(m)
  A <- k * sum(L) - sum(L^2)
  Q <- if (A == 0) 0 else (k - 1) * (k * sum(G^2) - sum(G)^2) / A
  if (A > 0 && nrow(m) <= 200 && k >= 2) {
    long <- data.frame(id = factor(rep(seq_len(nrow(m)), k)), cond = factor(rep(seq_len(k), each = nrow(m))),
                       y = as.vector(m))
    Q <- suppressMessages(rstatix::cochran_qtest(long, y ~ cond | id))$statistic
  }
  emit("Q", unname(Q)); emit("df", k - 1); emit("p", pchisq(unname(Q), k - 1, lower.tail = FALSE))
}

# ---- C ---------------------------------------------------------------------------------------
do_C <- function(f, d) {
  g <- d[[3]]; gs <- sort(unique(g)); in1 <- g == gs[1]; in2 <- g == gs[2]
  n1 <- sum(in1); n2 <- sum(in2); N <- n1 + n2
  emit("n1", n1); emit("n2", n2)
  branches <- character(0)
  on.exit(emit("_branch", paste(unique(branches), collapse = ";")))
  for (a in list(list("sum", d[[1]] + d[[2]]), list("diff", d[[1]] - d[[2]]), list("first", d[[1]]))) {
    key <- a[[1]]; x <- a[[2]][in1]; y <- a[[2]][in2]; v <- c(x, y)
    r <- rank(v); U1 <- n1 * n2 + n1 * (n1 + 1) / 2 - sum(r[1:n1]); U2 <- n1 * n2 + n2 * (n2 + 1) / 2 - sum(r[-(1:n1)])
    U <- min(U1, U2); emit(paste0("U.", key), U)
    w <- suppressWarnings(wilcox.test(x, y, exact = FALSE, correct = FALSE))
    pa <- if (is.nan(w$p.value)) 1 else w$p.value
    emit(paste0("Z.", key), qnorm(pa / 2, lower.tail = FALSE)); emit(paste0("p_approx.", key), pa)
    m <- min(n1, n2)
    if (!exact_fits(m, N)) { emit(paste0("p_approx_U.", key), pa); branches <- c(branches, "normal only"); next }
    branches <- c(branches, if (anyDuplicated(v) == 0) "exact" else "exact with ties")
    u <- if (n1 < n2) { if (U2 > U1) floor(U1 + 0.5) else floor(U1) }
         else if (n1 > n2) { if (U1 > U2) floor(U2 + 0.5) else floor(U2) } else floor(U + 0.5)
    if (anyDuplicated(v) == 0) emit(paste0("p_exact.", key), wilcox.test(x, y, exact = TRUE)$p.value)
    else { emit(paste0("p_exact.", key), exact_u(u, m, N - m)); emit(paste0("p_exact.", key, "@std"), coin_exact(x, y)) }
  }
}

# ---- H, A, G, B ------------------------------------------------------------------------------
do_H <- function(f, d) {
  n1 <- as.numeric(f$n1); n2 <- as.numeric(f$n2); n <- n1 + n2
  chi <- (abs(n1 - n2) - 1)^2 / n
  emit("chi", chi); emit("p_chi", pchisq(chi, 1, lower.tail = FALSE))
  emit("_branch", paste(c(if (chi >= 99) "chi-square >= 99" else "chi-square < 99", if (n1 == n2) "n1 = n2"), collapse = ";"))
  emit("chi@std", unname(suppressWarnings(chisq.test(c(n1, n2)))$statistic))
  emit("p1", pbinom(min(n1, n2), n, 0.5)); emit("p2", binom.test(n1, n)$p.value)
}
do_fit <- function(f, d) {
  # The typed probabilities and the expected frequencies as the module stores them (single precision).
  fr <- num_list(f$freq); k <- length(fr); F <- sum(fr)
  prob <- if (letter == "A") f32(num_list(f$prob)) else rep(1 / k, k)
  S <- if (letter == "A") Reduce(function(a, b) f32(a + b), prob, 0) else 1  # summed in single precision
  e <- if (letter == "A") f32(F * prob) else rep(f32(F / k), k)
  t <- suppressWarnings(chisq.test(fr, p = e / sum(e)))
  # The contributions and their running sum are stored in single precision too; the p values are
  # those of the sum as stored (with 100 categories its last digits move the sixth decimal of p).
  c <- f32((fr - e)^2 / e)
  Q32 <- Reduce(function(a, b) f32(a + b), c, 0)
  for (i in 1:k) {
    emit(paste0("f.", i), fr[i]); emit(paste0("e.", i), e[i]); emit(paste0("rel.", i), fr[i] / F)
    emit(paste0("prob.", i), e[i] / F); emit(paste0("c.", i), c[i]); emit(paste0("pc.", i), pchisq(c[i], 1, lower.tail = FALSE))
  }
  Q <- unname(t$statistic); pQ <- pchisq(Q32, k - 1, lower.tail = FALSE)
  emit("F", F); emit("FS", F * S); emit("one", 1); emit("S", S); emit("Q", Q); emit("pQ", pQ)
  if (letter == "G") emit("expected", f32(F / k))
  emit("chi", Q); emit("df", k - 1); emit("p", pQ)
}
# Clopper-Pearson limits: binom.test's conf.int, whose p value takes seconds for n = 10^8, so that
# above 10^6 trials its two beta quantiles are taken directly.
clopper_pearson <- function(k, n, P) {
  if (n <= 1e6) return(binom.test(k, n, conf.level = P)$conf.int)
  a <- (1 - P) / 2
  c(if (k == 0) 0 else qbeta(a, k, n - k + 1), if (k == n) 1 else qbeta(1 - a, k + 1, n - k))
}
do_B <- function(f, d) {
  # theta0 as the module stores it, in single precision (0.9999 is 0.99989998...).
  n <- as.numeric(f$n); k <- as.numeric(f$k); theta <- f32(as.numeric(f$theta))
  emit("theta", theta); emit("kn", k / n)
  # The binomial distribution function takes n and k in single precision (exact up to 2^24).
  lo <- pbinom(f32(k), f32(n), theta); hi <- if (k > 0) pbinom(f32(k - 1), f32(n), theta, lower.tail = FALSE) else 1
  emit("p_low", lo); emit("p_high", hi); emit("p2", min(1, 2 * lo, 2 * hi))
  emit("_branch", if (k == 0 || k == n) "k = 0 or k = n" else if (k < 16000 && n - k < 16000) "exact limits" else "normal limits")
  if (n <= 1e6) emit("p2@std", binom.test(k, n, theta)$p.value)  # slow for larger n
  for (P in levels4) {
    name <- sprintf("%.2f", P)
    if (k == 0 || k == n || (k < 16000 && n - k < 16000)) {
      # k = 0 and k = n: the one-sided limit at the level itself, also for large n (where the normal
      # approximation's radicand is negative).
      ci <- if (k == 0) c(0, qbeta(f32(P), 1, n)) else if (k == n) c(qbeta(1 - f32(P), n, 1), 1)
            else clopper_pearson(k, n, P)
    } else {
      z <- qnorm((1 + f32(P)) / 2); A <- (z^2 + 2) / 3; B <- (7 - z^2) / 18; D <- n + 2 * A - 1; S <- n + 11 * B - 4
      ci <- c((k - 1 + A - z * sqrt((k - B) * (n - k + 1 - B) / S)) / D, (k + A + z * sqrt((k + 1 - B) * (n - k - B) / S)) / D)
    }
    std <- clopper_pearson(k, n, P)
    if (k == 0 || k == n) emit(paste0("one_sided.", name), "(einseitig!)")
    emit(paste0("lo.", name), ci[1]); emit(paste0("hi.", name), ci[2])
    emit(paste0("lo.", name, "@std"), std[1]); emit(paste0("hi.", name, "@std"), std[2])
  }
}

handlers <- list(K = do_K, U = do_U, N = do_scores, T = do_scores, E = do_E, S = do_S, W = do_W, V = do_V,
                 F = do_F, O = do_O, C = do_C, H = do_H, A = do_fit, G = do_fit, B = do_B)
reader <- list(K = read_groups, U = read_groups, N = read_groups, T = read_groups, E = read_groups, S = read_groups,
               W = read_data, V = read_data, F = read_data, C = read_data)
for (row in seq_len(nrow(manifest))) {
  case_id <- manifest$id[row]
  file <- manifest$file[row]
  d <- if (file == "-") NULL else reader[[letter]](file)
  if (letter == "U") d$g <- as.character(d$g)
  handlers[[letter]](fields(manifest$fields[row]), d)
}
close(out)
